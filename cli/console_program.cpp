#include "cli/console.h"

namespace ko::cli {

int RunConsoleProgram(const std::vector<std::u16string>& arguments, const ConsoleJob& job) {
    PrepareConsole();
    StderrReporter messages;
    std::string out;
    const int status = job(arguments, out, messages);
    WriteStdout(out);
    return status;
}

}  // namespace ko::cli
