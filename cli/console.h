// What the console programs need of the platform: their arguments as UTF-16, whether stdout
// is a terminal, and UTF-8 output that reaches a Windows console unmangled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ko::cli {

// Arguments after the program name. `argv` is char** natively (UTF-8) and wchar_t** from
// wmain on Windows (UTF-16).
std::vector<std::u16string> ArgumentsFromUtf8(int argc, char** argv);
std::vector<std::u16string> ArgumentsFromWide(int argc, wchar_t** argv);

// Sets the console up for UTF-8 text and binary line ends (so "\n" is not doubled to CR LF).
void PrepareConsole();
bool StdoutIsTerminal();
void WriteStdout(std::string_view utf8);

}  // namespace ko::cli
