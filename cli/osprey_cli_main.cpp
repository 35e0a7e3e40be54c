// Program entry of osprey-cli: wires the platform's console to RunOspreyCli.
#include "cli/console.h"
#include "cli/osprey_cli.h"

namespace {

int Run(const std::vector<std::u16string>& arguments) {
    ko::cli::PreferLargeHeapPages();
    return ko::cli::RunConsoleProgram(arguments, [](const std::vector<std::u16string>& args,
                                                    std::string& out, ko::Reporter& messages) {
        return ko::cli::RunOspreyCli(args, out, messages);
    });
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
