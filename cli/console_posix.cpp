#include <unistd.h>

#include <cstdio>

#include "cli/console.h"
#include "common/native_name.h"

namespace ko::cli {

std::vector<std::u16string> ArgumentsFromUtf8(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(NativeNameToText(argv[i]));  // paths keep every byte
    return arguments;
}

std::vector<std::u16string> ArgumentsFromWide(int, wchar_t**) {
    return {};
}

void PrepareConsole() {}

bool StdoutIsTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

void WriteStdout(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace ko::cli
