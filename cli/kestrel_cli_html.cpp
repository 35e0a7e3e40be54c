#include "cli/kestrel_cli_html.h"

#include "cli/html_text.h"
#include "common/text.h"
#include "kestrel/app/load_warning.h"
#include "kestrel/app/status_bar_texts.h"
#include "kestrel/engine/view_geometry.h"

namespace ko::cli {

namespace {

using kestrel::TextGrids;

// The backgrounds come from the view's own constants, so the page cannot drift from the
// window; the face and pitch are the view's defaults (12 pixels on rows 14 apart), the number
// column as wide as six digits of whatever face stands in for the view's, then a rule.
std::string StyleSheet(int compare_state) {
    using kestrel::CodeBackground;
    return "body{margin:8px;font:12px/14px \"ＭＳ Ｐゴシック\",\"MS PGothic\",\"IPAPGothic\","
           "sans-serif;color:#000;background:#fff}\n"
           "table.files{border-collapse:collapse}\n"
           ".files th,.files td{text-align:left;padding:1px 12px 1px 0;vertical-align:top;"
           "overflow-wrap:anywhere}\n"
           ".bar{display:flex;margin:4px 0;border:1px solid #a0a0a0;background:" +
           CssColour(kestrel::app::StatusBarColour(compare_state)) +
           "}\n"
           ".bar span{min-width:120px;padding:1px 4px;border:1px inset #c0c0c0}\n"
           ".outcome{font-weight:bold;margin:6px 0}\n"
           ".warning{margin:4px 0;padding:2px 4px;border:1px solid #c09000;background:#fff8d0}\n"
           "table.view{border-collapse:collapse;table-layout:fixed;width:100%}\n"
           ".view td{padding:0 0 0 4px;vertical-align:top;white-space:break-spaces;"
           "overflow-wrap:anywhere;line-break:anywhere}\n"
           ".view td:nth-child(odd){padding-left:5px;border-right:1px solid #000;"
           "white-space:nowrap}\n"
           ".view td:nth-child(3){border-left:1px solid #000}\n"
           ".view col.n{width:calc(6ch + 10px)}\n"
           ".d{background:" +
           CssColour(CodeBackground(kestrel::kCodeDifferent)) +
           "}\n.f{background:" + CssColour(CodeBackground(kestrel::kCodeFiller)) +
           "}\n.g{background:" + CssColour(kestrel::kGrey) + "}\n";
}

// The class of a run's background: none for "0" (white), d, f, or g for any other code.
const char* RunClass(char16_t code) {
    switch (code) {
        case kestrel::kCodeEqual:
            return nullptr;
        case kestrel::kCodeDifferent:
            return "d";
        case kestrel::kCodeFiller:
            return "f";
        default:
            return "g";
    }
}

bool IsPairAt(const char16_t* text, int column, int length) {
    return column + 1 < length && text[column] >= 0xD800 && text[column] <= 0xDBFF &&
           text[column + 1] >= 0xDC00 && text[column + 1] <= 0xDFFF;
}

void AppendRun(std::string& out, std::u16string_view text, char16_t code) {
    const char* run_class = RunClass(code);
    if (run_class) out.append("<span class=\"").append(run_class).append("\">");
    AppendHtmlText(out, text);
    if (run_class) out += "</span>";
}

// The working text of `row` of `side`, run by run as the view draws it. A surrogate pair whose
// halves carry different codes stays whole, in the code that is not "0": split, each half
// would show as U+FFFD.
void AppendRowText(std::string& out, const TextGrids& grids, int side, int row) {
    const char16_t* text = grids.Row(kestrel::WorkingGrid(side), row);
    const char16_t* codes = grids.Row(kestrel::ColourGrid(side), row);
    const int length = grids.memwcslen(kestrel::WorkingGrid(side), row);
    int start = 0;
    char16_t current = 0;
    for (int column = 0; column < length;) {
        const bool pair = IsPairAt(text, column, length);
        char16_t code = codes[column];
        if (pair && code == kestrel::kCodeEqual) code = codes[column + 1];
        if (column > start && code != current) {
            AppendRun(out, std::u16string_view(text + start, column - start), current);
            start = column;
        }
        current = code;
        column += pair ? 2 : 1;
    }
    if (length > start) AppendRun(out, std::u16string_view(text + start, length - start), current);
}

void AppendNumberCell(std::string& out, const ComparisonReport& report, int side, int row) {
    out += "<td>";
    const std::u16string number = kestrel::LineNumberText(row);
    const auto highlight = report.engine.compareState == kestrel::kDiffered
                               ? kestrel::NumberHighlight(report.engine.grids, side, row)
                               : std::nullopt;
    if (highlight) {
        out.append("<span style=\"background:").append(CssColour(*highlight)).append("\">");
        AppendHtmlText(out, number);
        out += "</span>";
    } else {
        AppendHtmlText(out, number);
    }
    out += "</td>";
}

// What stderr says of a side that did not fit ("読込注意"), kept instead of shown.
class WarningKeeper final : public Reporter {
  public:
    int Show(OwnerWindow, std::u16string_view text, std::u16string_view caption,
             unsigned) override {
        kept = std::u16string(caption) + u": " + std::u16string(text);
        return box::kAnswerOk;
    }
    std::u16string kept;
};

void AppendHeader(std::string& out, const ComparisonReport& report,
                  const std::u16string_view (&paths)[2]) {
    const kestrel::Engine& engine = report.engine;
    out +=
        "<table class=\"files\">\n<tr><th></th><th>ファイル</th><th>文字コード</th>"
        "<th>行数</th></tr>\n";
    for (int side = 0; side < 2; ++side) {
        out.append(side == 0 ? "<tr><th>A</th><td>" : "<tr><th>B</th><td>");
        AppendHtmlText(out, paths[side]);
        out.append("</td><td>").append(EncodingName(engine.sides[side].encoding));
        out.append("</td><td>").append(std::to_string(engine.sides[side].lineCount));
        out += "</td></tr>\n";
    }
    out += "</table>\n<div class=\"bar\">";
    const kestrel::app::StatusValues values{engine.compareState, engine.grids.columns(),
                                            engine.grids.rows()};
    for (const int field :
         {kestrel::app::kStateField, kestrel::app::kColumnsField, kestrel::app::kRowsField}) {
        out += "<span>";
        AppendHtmlText(out, kestrel::app::StatusFieldText(field, values));
        out += "</span>";
    }
    out += "</div>\n<p class=\"outcome\">";
    AppendHtmlText(out, OutcomeText(report));
    out += "</p>\n";
    for (int side = 0; side < 2; ++side) {
        WarningKeeper warning;
        kestrel::app::WarnIfCut(report.cuts[side], paths[side], engine.grids.rows(),
                                engine.grids.columns(), warning, nullptr);
        if (warning.kept.empty()) continue;
        out += "<p class=\"warning\">";
        std::u16string_view text = warning.kept;
        for (std::size_t end; (end = text.find(u"\r\n")) != text.npos;
             text.remove_prefix(end + 2)) {
            AppendHtmlText(out, text.substr(0, end));
            out += "<br>";
        }
        AppendHtmlText(out, text);
        out += "</p>\n";
    }
}

}  // namespace

std::string HtmlReport(const ComparisonReport& report, std::u16string_view path_a,
                       std::u16string_view path_b) {
    const std::u16string_view paths[2] = {path_a, path_b};
    std::string out =
        HtmlPageStart(u"Kestrel: " + std::u16string(path_a) + u" ⇔ " + std::u16string(path_b),
                      StyleSheet(report.engine.compareState));
    AppendHeader(out, report, paths);
    out +=
        "<table class=\"view\"><colgroup><col class=\"n\"><col><col class=\"n\"><col>"
        "</colgroup>\n";
    const int shown = ShownRows(report);
    for (int row = 0; row < shown; ++row) {
        out += "<tr>";
        for (int side = 0; side < 2; ++side) {
            AppendNumberCell(out, report, side, row);
            out += "<td>";
            AppendRowText(out, report.engine.grids, side, row);
            out += "</td>";
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
    return out + kHtmlPageEnd;
}

}  // namespace ko::cli
