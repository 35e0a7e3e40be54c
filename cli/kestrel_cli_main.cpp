// Program entry of kestrel-cli: wires the platform's console to RunKestrelCli.
#include "cli/console.h"
#include "cli/kestrel_cli.h"

namespace {

int Run(const std::vector<std::u16string>& arguments) {
    ko::cli::PrepareConsole();
    ko::StderrReporter messages;
    std::string out;
    const int status =
        ko::cli::RunKestrelCli(arguments, ko::cli::StdoutIsTerminal(), out, messages);
    ko::cli::WriteStdout(out);
    return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Run(ko::cli::ArgumentsFromWide(argc, argv));
}
#else
int main(int argc, char** argv) {
    return Run(ko::cli::ArgumentsFromUtf8(argc, argv));
}
#endif
