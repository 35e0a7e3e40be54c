#include "cli/console.h"

#include <new>

#include "kestrel/messages.h"

namespace ko::cli {

int RunConsoleProgram(const std::vector<std::u16string>& arguments, const ConsoleJob& job) {
    PrepareConsole();
    StderrReporter messages;
    std::string out;
    int status = 2;
    try {
        status = job(arguments, out, messages);
    } catch (const std::bad_alloc&) {
        // What Kestrel shows when memory runs out; osprey-cli has no text of its own for it.
        ShowMessage(messages, nullptr, kestrel::messages::kOutOfMemory, box::kIconError);
        return 2;
    }
    WriteStdout(out);
    return status;
}

}  // namespace ko::cli
