#include "cli/osprey_cli_html.h"

#include "cli/html_text.h"
#include "common/text.h"
#include "osprey/app/window_layout.h"
#include "osprey/folder_scan.h"

namespace ko::cli {

namespace {

using osprey::kSideA;
using osprey::kSideB;

// The list views' pictures (bitmaps 21 to 24) drawn with text: the sign in its colour on the
// bitmap's ground, in the order of the image list.
struct Mark {
    const char* sign;
    const char* style;
};
constexpr Mark kMarks[osprey::app::kImageCount] = {
    {"未", "color:#000;background:#00ffff"},  // not compared, on cyan
    {"○", "color:#00f;background:#0f0"},      // a match, on green
    {"×", "color:#f00;background:#c0c0c0"},   // a mismatch, on light grey
    {"非", "color:#000;background:#ff0"},     // one side only, on yellow
};

std::string StyleSheet() {
    std::string css =
        "body{margin:8px;font:12px/16px \"ＭＳ Ｐゴシック\",\"MS PGothic\",\"IPAPGothic\","
        "sans-serif;color:#000;background:#fff}\n"
        "table{border-collapse:collapse}\n"
        ".folders th,.folders td{text-align:left;padding:1px 12px 1px 0;overflow-wrap:anywhere}\n"
        "table.lists{width:100%;margin-top:6px;border:1px solid #a0a0a0}\n"
        ".lists th{font-weight:normal;text-align:left;padding:2px 4px;background:#f0f0f0;"
        "border:1px solid #d0d0d0}\n"
        ".lists td{padding:1px 4px;border:1px solid #e4e4e4;white-space:nowrap}\n"
        ".lists td.name{white-space:break-spaces;overflow-wrap:anywhere}\n"
        ".lists .b{border-left:2px solid #808080}\n"
        ".m{display:inline-block;width:12px;height:12px;margin-right:4px;font-size:10px;"
        "line-height:12px;text-align:center;vertical-align:-1px}\n"
        ".bar{display:flex;margin-top:6px;border:1px solid #a0a0a0;background:#fff}\n"
        ".bar span{min-width:140px;padding:1px 4px;border:1px inset #c0c0c0}\n";
    for (int image = 0; image < osprey::app::kImageCount; ++image)
        css.append(".m")
            .append(std::to_string(image))
            .append("{")
            .append(kMarks[image].style)
            .append("}\n");
    return css;
}

void AppendHalf(std::string& out, const osprey::FileEntry& half, bool side_b) {
    const auto texts = osprey::app::RowTexts(half);
    out += side_b ? "<td class=\"name b\">" : "<td class=\"name\">";
    const int image = osprey::app::StatusImage(half.status);
    if (image >= 0 && image < osprey::app::kImageCount) {
        out.append("<span class=\"m m").append(std::to_string(image)).append("\">");
        out.append(kMarks[image].sign).append("</span>");
    }
    AppendHtmlText(out, texts[0]);
    out += "</td>";
    for (int column = 1; column < osprey::app::kListColumnCount; ++column) {
        out += "<td>";
        AppendHtmlText(out, texts[column]);
        out += "</td>";
    }
}

void AppendHeader(std::string& out, const osprey::FolderComparison& comparison,
                  const ExtensionGroupTable& groups, int group) {
    out += "<table class=\"folders\">\n";
    for (const int side : {kSideA, kSideB}) {
        out += side == kSideA ? "<tr><th>フォルダＡ</th><td>" : "<tr><th>フォルダＢ</th><td>";
        AppendHtmlText(out, comparison.folderPath[side]);
        out += "</td></tr>\n";
    }
    std::u16string group_text = Format(u"%d", {group});
    const int first_row = FirstRowOfGroup(groups, group);
    if (first_row >= 0)
        group_text.append(u" ").append(CutText(groups[first_row].itemName, kItemNameMax));
    for (const std::u16string& pattern : osprey::SearchPatternsOfGroup(groups, group))
        group_text.append(u" ").append(pattern);
    out += "<tr><th>拡張子グループ</th><td>";
    AppendHtmlText(out, group_text);
    out += "</td></tr>\n</table>\n";
}

}  // namespace

std::string HtmlReport(const osprey::FolderComparison& comparison,
                       const ExtensionGroupTable& groups, int group) {
    std::string out = HtmlPageStart(
        u"Osprey: " + comparison.folderPath[kSideA] + u" ⇔ " + comparison.folderPath[kSideB],
        StyleSheet());
    AppendHeader(out, comparison, groups, group);
    out += "<table class=\"lists\">\n<tr>";
    for (const bool side_b : {false, true}) {
        for (int column = 0; column < osprey::app::kListColumnCount; ++column) {
            out += side_b && column == 0 ? "<th class=\"b\">" : "<th>";
            AppendHtmlText(out, osprey::app::kListColumns[column].title);
            out += "</th>";
        }
    }
    out += "</tr>\n";
    const std::vector<osprey::FileEntry>* pairs = comparison.pairs;
    for (std::size_t row = 0; row < pairs[kSideA].size(); ++row) {
        if (pairs[kSideA][row].status <= osprey::kFreeRow) continue;  // as the list views skip it
        out += "<tr>";
        AppendHalf(out, pairs[kSideA][row], false);
        AppendHalf(out, pairs[kSideB][row], true);
        out += "</tr>\n";
    }
    out += "</table>\n<div class=\"bar\">";
    for (const std::u16string& field : osprey::StatusBarTexts(comparison)) {
        out += "<span>";
        AppendHtmlText(out, field);
        out += "</span>";
    }
    out += "</div>\n";
    return out + kHtmlPageEnd;
}

}  // namespace ko::cli
