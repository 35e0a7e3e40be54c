#include "cli/kestrel_cli.h"

#include <memory>

#include "cli/command_arguments.h"
#include "cli/kestrel_cli_html.h"
#include "cli/kestrel_cli_view.h"
#include "common/current_directory.h"
#include "common/file_reader.h"
#include "common/settings.h"
#include "common/text.h"
#include "kestrel/app/load_warning.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/file_loader.h"
#include "kestrel/messages.h"

namespace ko::cli {

const char kKestrelCliUsage[] =
    "usage: kestrel-cli [--newline=N] [--columns=N] [--rows=N] [--json | --quiet | --html]\n"
    "                   FILE_A FILE_B\n"
    "Compares two text files as Kestrel does. Settings come from kestrel.ini in the current\n"
    "directory; --newline sets kaimode (0 CR+LF, 1 LF, 2 CR, others end no line), --columns\n"
    "dtxlength_max and --rows dtylength_max. A file that does not fit the grid (more lines than\n"
    "rows, a line longer than the columns, a NUL in a line, half a UTF-16 unit at its end) is\n"
    "compared only as far as it was loaded: a warning goes to stderr, and --json adds\n"
    "\"fits\": {\"a\", \"b\"} and \"cut\" with the lines of each side past the last row, cut at\n"
    "the columns, cut at a NUL, the odd last byte, and the lines with bytes that could not be\n"
    "decoded (\"undecodable\"). Equal files with such lines are compared byte for byte too.\n"
    "--html writes one self-contained HTML page instead: both files side by side in the\n"
    "window's colours, with the paths, encodings, grid size, outcome and warnings above.\n"
    "Exit status: 0 both files fitted and are equal, 1 different, 2 trouble, or equal as far\n"
    "as loaded while a file did not fit (the rest may differ), or equal as shown while the\n"
    "bytes that could not be decoded differ.\n";

namespace {

// The outcome box of a comparison is the result itself, printed on stdout by the view; every
// other message goes on to `next`.
class OutcomeFilter final : public Reporter {
  public:
    explicit OutcomeFilter(Reporter& next) : next_(next) {}
    int Show(OwnerWindow owner, std::u16string_view text, std::u16string_view caption,
             unsigned style) override {
        if (caption == u"比較完了") return box::kAnswerOk;
        return next_.Show(owner, text, caption, style);
    }

  private:
    Reporter& next_;
};

// Grids that match where a side could not be decoded say nothing of the bytes behind the
// replacement characters: true when the files hold the same bytes; otherwise shows why not
// (messages::kEqualOnlyAsShown, or a file that could no longer be opened) and returns false.
bool EqualAsStored(std::u16string_view path_a, std::u16string_view path_b, Reporter& reporter) {
    FileReader files[2];
    const std::u16string_view paths[2] = {path_a, path_b};
    for (int side = 0; side < 2; ++side) {
        if (const int error = files[side].Open(paths[side]); error != 0) {
            ShowMessage(reporter, nullptr, kestrel::messages::kFileOpenError, box::kIconWarning,
                        {paths[side], error});
            return false;
        }
    }
    std::vector<std::uint8_t> buffer;
    if (SameContents(files[0], files[1], buffer)) return true;
    ShowMessage(reporter, nullptr, kestrel::messages::kEqualOnlyAsShown,
                box::kOk | box::kIconWarning);
    return false;
}

}  // namespace

bool ParseKestrelCliArguments(const std::vector<std::u16string>& arguments,
                              KestrelCliOptions& options, std::string& error) {
    std::vector<std::u16string> files;
    if (!SplitArguments(arguments,
                        {{u"--json", &options.json},
                         {u"--quiet", &options.quiet},
                         {u"--html", &options.html},
                         {u"--help", &options.help}},
                        {{u"--newline", &options.newline},
                         {u"--columns", &options.columns},
                         {u"--rows", &options.rows}},
                        files, error))
        return false;
    if (options.help) return true;
    if (!ExclusiveOutputs(options.json, options.quiet, options.html, error)) return false;
    if (files.size() != 2) {
        error = "two files are needed, FILE_A and FILE_B";
        return false;
    }
    options.file_a = files[0];
    options.file_b = files[1];
    return true;
}

int RunKestrelCli(const std::vector<std::u16string>& arguments, bool terminal, std::string& out,
                  Reporter& messages) {
    KestrelCliOptions options;
    std::string error;
    if (!ParseKestrelCliArguments(arguments, options, error)) {
        messages.Show(nullptr, AsciiToUtf16(error + "\n" + kKestrelCliUsage), u"kestrel-cli",
                      box::kOk);
        return 2;
    }
    if (options.help) {
        out += kKestrelCliUsage;
        return 0;
    }

    auto settings = std::make_unique<Settings>();
    LoadSettings(Program::kKestrel, ReadCurrentDirectory(), *settings);
    settings->kaimode = options.newline.value_or(settings->kaimode);
    settings->dtxlength_max = options.columns.value_or(settings->dtxlength_max);
    settings->dtylength_max = options.rows.value_or(settings->dtylength_max);

    OutcomeFilter reporter(messages);
    auto engine = std::make_unique<kestrel::Engine>();
    // --quiet reports only the exit status, so no grid is written: the lines go into compact
    // stores and the comparison builds no view. On 1,024 columns a loaded grid spends half a
    // page on every line, and Windows gives its grids no 2 MiB pages: the 64,000-line pair of
    // bench/ took 2.3 s under Wine that way, against 0.16 s for two empty files.
    const auto storage =
        options.quiet ? kestrel::LineStorage::kCompact : kestrel::LineStorage::kLoadedGrids;
    if (!engine->Allocate(settings->dtxlength_max, settings->dtylength_max, reporter, nullptr,
                          storage))
        return 2;
    engine->grids.set_reporter(&reporter);
    const std::u16string* files[2] = {&options.file_a, &options.file_b};
    kestrel::LoadCuts cuts[2];
    for (int side = 0; side < 2; ++side) {
        if (kestrel::LoadSide(*engine, side, *files[side], settings->kaimode, reporter, nullptr,
                              cuts[side]) != kestrel::LoadOutcome::kLoaded)
            return 2;
        kestrel::app::WarnIfCut(cuts[side], *files[side], engine->grids.rows(),
                                engine->grids.columns(), reporter, nullptr);
    }
    const kestrel::AlignedCounts aligned = kestrel::CompareSides(*engine, reporter);
    const ComparisonReport report{*engine, aligned, settings->kaimode, {cuts[0], cuts[1]}};
    if (options.json) {
        out += JsonReport(report);
    } else if (options.html) {
        out += HtmlReport(report, options.file_a, options.file_b);
    } else if (!options.quiet) {
        out += SideBySideView(report, terminal);
    }
    if (engine->compareState != kestrel::kMatched) return 1;
    // Equal as far as loaded: what did not fit was never compared.
    if (!cuts[0].Fits() || !cuts[1].Fits()) return 2;
    // Grids say nothing of the bytes behind a replacement character or a second code.
    const auto read_alike = [](const kestrel::LoadCuts& c) {
        return c.undecodable > 0 || c.secondCodes > 0;
    };
    if (!read_alike(cuts[0]) && !read_alike(cuts[1])) return 0;
    return EqualAsStored(options.file_a, options.file_b, reporter) ? 0 : 2;
}

}  // namespace ko::cli
