// What the console programs need of the platform: their arguments as UTF-16, whether stdout
// is a terminal, and UTF-8 output that reaches a Windows console unmangled.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/report.h"

namespace ko::cli {

// Arguments after the program name. `argv` is char** natively (UTF-8) and wchar_t** from
// wmain on Windows (UTF-16).
std::vector<std::u16string> ArgumentsFromUtf8(int argc, char** argv);
std::vector<std::u16string> ArgumentsFromWide(int argc, wchar_t** argv);

// Sets the console up for UTF-8 text and binary line ends (so "\n" is not doubled to CR LF).
void PrepareConsole();
bool StdoutIsTerminal();
// For a program that builds many small records (osprey-cli: a few hundred bytes per listed
// file): asks that the heap be backed by 2 MiB pages where the system offers them on request.
// Natively a page fault costs 0.7 to 10 microseconds depending on the machine; 20,000 pairs
// touch about 20 MB, 5,000 faults of 4 KiB against a dozen of 2 MiB. Nothing on Windows.
void PreferLargeHeapPages();
void WriteStdout(std::string_view utf8);

using ConsoleJob = std::function<int(const std::vector<std::u16string>& arguments, std::string& out,
                                     Reporter& messages)>;

// What every console program's entry does: prepares the console, runs `job` with the
// arguments, a buffer for stdout and a reporter that writes to stderr, writes the buffer out
// and returns the job's exit status.
int RunConsoleProgram(const std::vector<std::u16string>& arguments, const ConsoleJob& job);

}  // namespace ko::cli
