#include "cli/osprey_cli.h"

#include <memory>

#include "cli/command_arguments.h"
#include "cli/osprey_cli_html.h"
#include "cli/osprey_cli_report.h"
#include "common/current_directory.h"
#include "common/file_reader.h"
#include "common/settings.h"
#include "common/text.h"
#include "osprey/directory_search.h"
#include "osprey/folder_scan.h"
#include "osprey/pair_comparison.h"
#include "osprey/pairing.h"

namespace ko::cli {

const char kOspreyCliUsage[] =
    "usage: osprey-cli [--group=N] [--json | --quiet | --html] DIR_A DIR_B\n"
    "Compares two folders as Osprey does: lists the files of DIR_A and DIR_B that match the\n"
    "patterns of the selected extension group, pairs them by name and compares every pair byte\n"
    "for byte. Settings come from Osprey.ini in the current directory; --group selects the\n"
    "group instead of failExt_no.\n"
    "Output: the rows as Osprey's two lists show them (comparison, then name, pattern, size and\n"
    "date of side A and of side B) and the counters of its status bar. --json prints instead\n"
    "{\"countA\", \"countB\", \"target\", \"equal\", \"differ\", \"rows\": [{\"status\": "
    "1|2|3|13,\n"
    "\"a\": {\"name\", \"pattern\", \"size\", \"date\"}, \"b\": {...}}]}; --quiet prints nothing;\n"
    "--html writes one self-contained HTML page with the folders, the group, both lists with\n"
    "their status marks, and the status bar.\n"
    "Exit status: 0 every pair of files has equal contents and no row is one-sided, 1 a pair\n"
    "differs, a file is on one side only or a folder is paired with a file, 2 trouble (bad\n"
    "arguments, an empty group, a folder that cannot be read, a file that cannot be opened).\n"
    "Rows that pair two folders (\".\", \"..\", subfolders of the same name) are not compared\n"
    "and count neither way.\n";

namespace {

// Remembers whether anything was reported on the way to `next`.
class NoticingReporter final : public Reporter {
  public:
    explicit NoticingReporter(Reporter& next) : next_(next) {}
    int Show(OwnerWindow owner, std::u16string_view text, std::u16string_view caption,
             unsigned style) override {
        noticed = true;
        return next_.Show(owner, text, caption, style);
    }
    bool noticed = false;

  private:
    Reporter& next_;
};

// A folder the scan would silently find empty is trouble for a script: say so.
bool IsReadableFolder(const std::u16string& folder, Reporter& messages) {
    const int error = osprey::FolderListingError(folder);
    if (error == 0) return true;
    messages.Show(nullptr, Format(u"Can't read %s folder\r\nErrCode=%d", {folder, error}),
                  u"FolderError", box::kIconWarning);
    return false;
}

// What the scan saw stands; only an entry it could not tell (a link on Windows) is looked at.
bool IsFolder(const osprey::FolderComparison& comparison, int side, std::size_t row) {
    const osprey::EntryKind kind = comparison.pairs[side][row].kind;
    if (kind != osprey::EntryKind::kUnknown) return kind == osprey::EntryKind::kFolder;
    return KindOfPath(osprey::FilePathOf(comparison, side, row)) == PathKind::kFolder;
}

// Compares the pairs as Osprey's compare command does (last row first), except that a row
// holding a folder is not opened: two folders count neither way, a folder beside a file is a
// difference. Returns the exit status: 2 when anything was reported, else 1 when a pair
// differs or a row is one-sided, else 0.
int CompareRows(osprey::FolderComparison& comparison, Reporter& messages) {
    NoticingReporter reporter(messages);
    bool differs = false;
    for (std::size_t row = comparison.pairs[osprey::kSideA].size(); row-- > 0;) {
        const std::int32_t status = comparison.pairs[osprey::kSideA][row].status;
        if (status != osprey::kPairedNotCompared) {
            differs = differs || status != osprey::kPairedEqual;
            continue;
        }
        const bool folderA = IsFolder(comparison, osprey::kSideA, row);
        const bool folderB = IsFolder(comparison, osprey::kSideB, row);
        if (folderA || folderB) {
            differs = differs || folderA != folderB;
            continue;
        }
        osprey::ComparePair(comparison, row, reporter, nullptr);
        differs = differs || comparison.pairs[osprey::kSideA][row].status != osprey::kPairedEqual;
    }
    if (reporter.noticed) return 2;
    return differs ? 1 : 0;
}

}  // namespace

bool ParseOspreyCliArguments(const std::vector<std::u16string>& arguments,
                             OspreyCliOptions& options, std::string& error) {
    std::vector<std::u16string> folders;
    if (!SplitArguments(arguments,
                        {{u"--json", &options.json},
                         {u"--quiet", &options.quiet},
                         {u"--html", &options.html},
                         {u"--help", &options.help}},
                        {{u"--group", &options.group}}, folders, error))
        return false;
    if (options.help) return true;
    if (!ExclusiveOutputs(options.json, options.quiet, options.html, error)) return false;
    if (folders.size() != 2) {
        error = "two folders are needed, DIR_A and DIR_B";
        return false;
    }
    options.folderA = folders[0];
    options.folderB = folders[1];
    return true;
}

int RunOspreyCli(const std::vector<std::u16string>& arguments, std::string& out,
                 Reporter& messages) {
    OspreyCliOptions options;
    std::string error;
    if (!ParseOspreyCliArguments(arguments, options, error)) {
        messages.Show(nullptr, Utf8ToUtf16(error + "\n" + kOspreyCliUsage), u"osprey-cli",
                      box::kOk);
        return 2;
    }
    if (options.help) {
        out += kOspreyCliUsage;
        return 0;
    }
    for (const std::u16string* folder : {&options.folderA, &options.folderB}) {
        // Longer paths need the long-path support only the window programs declare.
        if (folder->size() > osprey::kFolderPathMax) {
            messages.Show(nullptr, u"A folder path has more than 259 characters: " + *folder,
                          u"osprey-cli", box::kOk);
            return 2;
        }
    }

    auto settings = std::make_unique<Settings>();
    LoadSettings(Program::kOsprey, ReadCurrentDirectory(), *settings);
    const int group = options.group.value_or(settings->failExt_no);
    if (osprey::SearchPatternsOfGroup(settings->groups, group).empty()) {
        messages.Show(nullptr, Format(u"No extension group %d in Osprey.ini", {group}),
                      u"osprey-cli", box::kOk);
        return 2;
    }
    if (!IsReadableFolder(options.folderA, messages) ||
        !IsReadableFolder(options.folderB, messages))
        return 2;

    osprey::FolderComparison comparison;
    // --quiet shows no list, so its scan asks for no sizes and dates: natively a stat per file.
    for (const int side : {osprey::kSideA, osprey::kSideB})
        osprey::ScanFolder(comparison, side, options.folderA, options.folderB, settings->groups,
                           group, !options.quiet);
    osprey::PairFiles(comparison);
    const int status = CompareRows(comparison, messages);
    comparison.compareFlag = 1;

    if (options.json) {
        out += JsonReport(comparison);
    } else if (options.html) {
        out += HtmlReport(comparison, settings->groups, group);
    } else if (!options.quiet) {
        out += RowTable(comparison);
    }
    return status;
}

}  // namespace ko::cli
