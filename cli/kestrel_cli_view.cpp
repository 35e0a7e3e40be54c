#include "cli/kestrel_cli_view.h"

#include <algorithm>

#include "cli/json_text.h"
#include "cli/terminal_text.h"
#include "common/text.h"
#include "kestrel/messages.h"

namespace ko::cli {

namespace {

using kestrel::TextGrids;

constexpr char kRedBackground[] = "\x1b[30;48;2;255;100;100m";
constexpr char kGreenBackground[] = "\x1b[30;48;2;128;255;128m";
constexpr char kGreyBackground[] = "\x1b[30;48;2;200;200;200m";
constexpr char kReset[] = "\x1b[0m";
constexpr int kMaxColumnCells = 80;  // side A's column is cut here, as a pane cuts long lines

const char* BackgroundOf(char16_t code) {
    switch (code) {
        case kestrel::kCodeEqual:
            return "";
        case kestrel::kCodeDifferent:
            return kRedBackground;
        case kestrel::kCodeFiller:
            return kGreenBackground;
        default:
            return kGreyBackground;
    }
}

int CellsOf(char16_t unit) {
    return TerminalCells(std::u16string_view(&unit, 1));
}

struct Row {
    const char16_t* text;
    const char16_t* codes;
    int length;
};

// The working text of a row with its colour codes, as far as the text goes.
Row RowOf(const kestrel::Engine& engine, int side, int row) {
    const TextGrids& grids = engine.grids;
    return {grids.Row(kestrel::WorkingGrid(side), row), grids.Row(kestrel::ColourGrid(side), row),
            grids.memwcslen(kestrel::WorkingGrid(side), row)};
}

// The colour the row number takes: that of the row's last run whose code is not "0".
const char* NumberBackground(const Row& row) {
    const char* background = "";
    for (int c = 0; c < row.length; ++c)
        if (row.codes[c] != kestrel::kCodeEqual) background = BackgroundOf(row.codes[c]);
    return background;
}

// Appends the row's text, coloured run by run, cut at `max_cells`; returns the cells used.
int AppendText(std::string& out, const Row& row, bool colour, int max_cells) {
    int cells = 0;
    const char* current = "";
    std::u16string run;
    auto flush = [&] {
        if (run.empty()) return;
        if (colour && *current) out += current;
        out += Utf16ToUtf8(run);
        if (colour && *current) out += kReset;
        run.clear();
    };
    for (int c = 0; c < row.length; ++c) {
        const char16_t unit = VisibleText(std::u16string_view(&row.text[c], 1))[0];
        const int width = CellsOf(unit);
        if (cells + width > max_cells) break;
        const char* background = colour ? BackgroundOf(row.codes[c]) : "";
        if (background != current) {
            flush();
            current = background;
        }
        run += unit;
        cells += width;
    }
    // A pair cut in half by the limit would print a replacement character: drop its lead, and
    // its cell, so the columns after it stay in line.
    if (!run.empty() && run.back() >= 0xD800 && run.back() <= 0xDBFF) {
        run.pop_back();
        --cells;
    }
    flush();
    return cells;
}

int Cells(const Row& row) {
    return TerminalCells(std::u16string_view(row.text, row.length));
}

}  // namespace

int ShownRows(const ComparisonReport& report) {
    return std::min(std::max(report.aligned.a, report.aligned.b), report.engine.grids.rows());
}

// One line per aligned row: number and text of side A, then of side B, each column as wide as
// its longest text up to a limit.
std::string SideBySideView(const ComparisonReport& report, bool colour) {
    const kestrel::Engine& engine = report.engine;
    const int shown = ShownRows(report);
    int column = 1;
    for (int r = 0; r < shown; ++r)
        column = std::max(column, Cells(RowOf(engine, 0, r)));
    column = std::min(column, kMaxColumnCells);
    const bool highlight = colour && engine.compareState == kestrel::kDiffered;

    std::string out;
    for (int r = 0; r < shown; ++r) {
        const std::string number = Utf16ToUtf8(Format(u"%06d", {r}));
        for (int side = 0; side < 2; ++side) {
            const Row row = RowOf(engine, side, r);
            const char* background = highlight ? NumberBackground(row) : "";
            out += *background ? background + number + kReset : number;
            out += ' ';
            const int cells = AppendText(out, row, colour, side == 0 ? column : 1 << 30);
            if (side == 0) out += std::string(column - cells, ' ') + " | ";
        }
        out += '\n';
    }
    out += Utf16ToUtf8(OutcomeText(report)) + '\n';
    return out;
}

std::u16string_view OutcomeText(const ComparisonReport& report) {
    return report.engine.compareState == kestrel::kMatched ? kestrel::messages::kMatch.text
                                                           : kestrel::messages::kMismatch.text;
}

const char* EncodingName(kestrel::Encoding encoding) {
    static const char* const kEncodings[] = {"utf-16le", "utf-16be", "utf-8", "ansi"};
    return kEncodings[static_cast<int>(encoding)];
}

std::string JsonReport(const ComparisonReport& report) {
    const kestrel::Engine& engine = report.engine;
    auto side = [&](int s) {
        return "{\"lines\": " + std::to_string(engine.sides[s].lineCount) + ", \"encoding\": \"" +
               EncodingName(engine.sides[s].encoding) + "\"}";
    };
    auto fits = [&](int s) { return std::string(report.cuts[s].Fits() ? "true" : "false"); };
    auto cut = [&](int s) {
        const kestrel::LoadCuts& cuts = report.cuts[s];
        return "{\"pastLastRow\": " + std::to_string(cuts.pastLastRow) +
               ", \"atColumns\": " + std::to_string(cuts.atColumns) +
               ", \"atNul\": " + std::to_string(cuts.atNul) +
               ", \"oddLastByte\": " + std::to_string(cuts.oddLastByte) +
               ", \"undecodable\": " + std::to_string(cuts.undecodable) + "}";
    };
    std::string out = "{\"state\": " + std::to_string(static_cast<int>(engine.compareState)) +
                      ", \"columns\": " + std::to_string(engine.grids.columns()) +
                      ", \"rows\": " + std::to_string(engine.grids.rows()) +
                      ", \"newline\": " + std::to_string(report.newline) + ",\n \"a\": " + side(0) +
                      ",\n \"b\": " + side(1) + ",\n \"fits\": {\"a\": " + fits(0) +
                      ", \"b\": " + fits(1) + "}, \"cut\": {\"a\": " + cut(0) +
                      ", \"b\": " + cut(1) + "}" +
                      ",\n \"aligned\": {\"a\": " + std::to_string(report.aligned.a) +
                      ", \"b\": " + std::to_string(report.aligned.b) + "},\n \"grid\": [";
    const int shown = ShownRows(report);
    for (int r = 0; r < shown; ++r) {
        out += r == 0 ? "\n  " : ",\n  ";
        out += '{';
        for (int s = 0; s < 2; ++s) {
            const Row row = RowOf(engine, s, r);
            std::string codes;
            for (int c = 0; c < row.length; ++c)
                codes += row.codes[c] == 0 ? '.' : static_cast<char>(row.codes[c]);
            out += s == 0 ? "\"a\": " : ", \"b\": ";
            out += JsonUnitString(std::u16string_view(row.text, row.length));
            out += s == 0 ? ", \"ca\": \"" : ", \"cb\": \"";
            out += codes + '"';
        }
        out += '}';
    }
    out += "]}\n";
    return out;
}

}  // namespace ko::cli
