// osprey-cli: Osprey's scanning, pairing and comparison without a window.
//
//   osprey-cli [--group=N] [--json | --quiet | --html] DIR_A DIR_B
//
// Settings come from Osprey.ini in the current directory, as Osprey reads them; --group
// overrides failExt_no. Exit status 0 when every pair of files is equal and no row is
// one-sided, 1 when something differs (a folder paired with a file included), 2 on trouble;
// rows that pair two folders count neither way.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/report.h"

namespace ko::cli {

struct OspreyCliOptions {
    std::optional<int> group;
    bool json = false, quiet = false, html = false, help = false;
    std::u16string folderA, folderB;
};

// Reads the arguments; false (and a message in `error`) when they are not usable.
bool ParseOspreyCliArguments(const std::vector<std::u16string>& arguments,
                             OspreyCliOptions& options, std::string& error);

// Runs the whole job: stdout text goes to `out`, messages to `messages`. Returns the exit
// status.
int RunOspreyCli(const std::vector<std::u16string>& arguments, std::string& out,
                 Reporter& messages);

extern const char kOspreyCliUsage[];

}  // namespace ko::cli
