// kestrel-cli: Kestrel's engine without a window.
//
//   kestrel-cli [--newline=N] [--columns=N] [--rows=N] [--json | --quiet | --html] FILE_A FILE_B
//
// Settings start from kestrel.ini in the current directory, as Kestrel reads them; each flag
// overrides one of them. Exit status 0 when both files fitted the grid and match, 1 when they
// differ, 2 on trouble, when they match as far as a file that did not fit was loaded, or when
// they match as shown but their bytes differ where a side could not be decoded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/report.h"

namespace ko::cli {

struct KestrelCliOptions {
    std::optional<int> newline, columns, rows;
    bool json = false, quiet = false, html = false, help = false;
    std::u16string file_a, file_b;
};

// Reads the arguments; false (and a message in `error`) when they are not usable.
bool ParseKestrelCliArguments(const std::vector<std::u16string>& arguments,
                              KestrelCliOptions& options, std::string& error);

// Runs the whole job: stdout text goes to `out`, messages to `messages`. `terminal` asks for
// the coloured view. Returns the exit status.
int RunKestrelCli(const std::vector<std::u16string>& arguments, bool terminal, std::string& out,
                  Reporter& messages);

extern const char kKestrelCliUsage[];

}  // namespace ko::cli
