#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "cli/console.h"
#include "common/win32_text.h"

namespace ko::cli {

std::vector<std::u16string> ArgumentsFromUtf8(int, char**) {
    return {};
}

std::vector<std::u16string> ArgumentsFromWide(int argc, wchar_t** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(ToU16(argv[i]));
    return arguments;
}

void PrepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

// Windows grants large pages only with a privilege that ordinary users lack.
void PreferLargeHeapPages() {}

bool StdoutIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}

void WriteStdout(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace ko::cli
