#include "cli/kestrel_cli.h"

#include <charconv>
#include <memory>

#include "cli/kestrel_cli_view.h"
#include "common/current_directory.h"
#include "common/settings.h"
#include "common/text.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/file_loader.h"

namespace ko::cli {

const char kKestrelCliUsage[] =
    "usage: kestrel-cli [--newline=N] [--columns=N] [--rows=N] [--json | --quiet] FILE_A FILE_B\n"
    "Compares two text files as Kestrel does. Settings come from kestrel.ini in the current\n"
    "directory; --newline sets kaimode (0 CR+LF, 1 LF, 2 CR, others end no line), --columns\n"
    "dtxlength_max and --rows dtylength_max. Exit status: 0 equal, 1 different, 2 trouble.\n";

namespace {

bool ParseInteger(std::u16string_view text, int& value) {
    const std::string narrow = Utf16ToUtf8(text);
    const char* end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, value);
    return error == std::errc() && stop == end && !narrow.empty();
}

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

}  // namespace

bool ParseKestrelCliArguments(const std::vector<std::u16string>& arguments,
                              KestrelCliOptions& options, std::string& error) {
    std::vector<std::u16string> files;
    bool options_end = false;
    for (const std::u16string& argument : arguments) {
        if (options_end || argument.size() < 2 || argument.compare(0, 2, u"--") != 0) {
            files.push_back(argument);
            continue;
        }
        if (argument == u"--") {
            options_end = true;
            continue;
        }
        const std::size_t equals = argument.find(u'=');
        const std::u16string name = argument.substr(0, equals);
        const std::u16string value = equals == std::u16string::npos ? u"" : argument.substr(equals + 1);
        struct NumberFlag {
            const char16_t* name;
            bool* seen;
            int* value;
        } numbers[] = {{u"--newline", &options.has_newline, &options.newline},
                       {u"--columns", &options.has_columns, &options.columns},
                       {u"--rows", &options.has_rows, &options.rows}};
        bool known = false;
        for (const NumberFlag& flag : numbers) {
            if (name != flag.name) continue;
            known = true;
            if (equals == std::u16string::npos || !ParseInteger(value, *flag.value)) {
                error = Utf16ToUtf8(name) + " needs an integer value, as in " + Utf16ToUtf8(name) + "=1";
                return false;
            }
            *flag.seen = true;
        }
        if (known) continue;
        if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--quiet") {
            options.quiet = true;
        } else if (argument == u"--help") {
            options.help = true;
            return true;
        } else {
            error = "unknown option " + Utf16ToUtf8(argument);
            return false;
        }
    }
    if (options.json && options.quiet) {
        error = "--json and --quiet exclude each other";
        return false;
    }
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
        messages.Show(nullptr, AsciiToUtf16(error + "\n" + kKestrelCliUsage), u"kestrel-cli", box::kOk);
        return 2;
    }
    if (options.help) {
        out += kKestrelCliUsage;
        return 0;
    }

    auto settings = std::make_unique<Settings>();
    LoadSettings(Program::kKestrel, ReadCurrentDirectory(), *settings);
    if (options.has_newline) settings->kaimode = options.newline;
    if (options.has_columns) settings->dtxlength_max = options.columns;
    if (options.has_rows) settings->dtylength_max = options.rows;

    OutcomeFilter reporter(messages);
    auto engine = std::make_unique<kestrel::Engine>();
    if (!engine->Allocate(settings->dtxlength_max, settings->dtylength_max, reporter, nullptr))
        return 2;
    engine->grids.set_reporter(&reporter);
    const std::u16string* files[2] = {&options.file_a, &options.file_b};
    for (int side = 0; side < 2; ++side) {
        if (kestrel::LoadSide(*engine, side, *files[side], settings->kaimode, reporter, nullptr) !=
            kestrel::LoadOutcome::kLoaded)
            return 2;
    }
    const kestrel::AlignedCounts aligned = kestrel::CompareSides(*engine, reporter);
    const ComparisonReport report{*engine, aligned, settings->kaimode};
    if (options.json) {
        out += JsonReport(report);
    } else if (!options.quiet) {
        out += SideBySideView(report, terminal);
    }
    return engine->compareState == kestrel::kMatched ? 0 : 1;
}

}  // namespace ko::cli
