#include "cli/osprey_cli_report.h"

#include <algorithm>
#include <array>

#include "cli/json_text.h"
#include "cli/terminal_text.h"
#include "common/text.h"

namespace ko::cli {

namespace {

using osprey::FileEntry;
using osprey::kSideA;
using osprey::kSideB;

constexpr std::size_t kColumns = 9;  // status, then name, pattern, size, date per side
using TableLine = std::array<std::u16string, kColumns>;

TableLine LineOfRow(const FileEntry& a, const FileEntry& b) {
    return {std::u16string(osprey::StatusText(a.status)),
            VisibleText(a.name),
            VisibleText(a.pattern),
            a.sizeText,
            a.dateText,
            VisibleText(b.name),
            VisibleText(b.pattern),
            b.sizeText,
            b.dateText};
}

}  // namespace

std::string RowTable(const osprey::FolderComparison& comparison) {
    std::vector<TableLine> lines;
    lines.push_back({u"比較", u"ファイル名", u"拡張子", u"サイズ", u"日時", u"ファイル名",
                     u"拡張子", u"サイズ", u"日時"});
    for (std::size_t row = 0; row < comparison.pairs[kSideA].size(); ++row)
        lines.push_back(LineOfRow(comparison.pairs[kSideA][row], comparison.pairs[kSideB][row]));

    std::array<int, kColumns> widths{};
    for (const TableLine& line : lines)
        for (std::size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], TerminalCells(line[c]));

    std::string out;
    for (const TableLine& line : lines) {
        std::u16string text;
        for (std::size_t c = 0; c < kColumns; ++c) {
            if (c == 1 || c == 5)
                text += u" | ";
            else if (c > 0)
                text += u"  ";
            text += line[c];
            if (c + 1 < kColumns) text.append(widths[c] - TerminalCells(line[c]), u' ');
        }
        while (!text.empty() && text.back() == u' ')
            text.pop_back();
        out.append(Utf16ToUtf8(text)).append("\n");
    }
    std::u16string statusBar;
    for (const std::u16string& field : osprey::StatusBarTexts(comparison))
        statusBar += (statusBar.empty() ? u"" : u"  ") + field;
    out.append("\n").append(Utf16ToUtf8(statusBar)).append("\n");
    return out;
}

std::string JsonReport(const osprey::FolderComparison& comparison) {
    const osprey::RowCounts counts = osprey::CountRows(comparison.pairs[kSideA]);
    auto appendHalf = [](std::string& out, const FileEntry& entry) {
        out.append("{\"name\": ").append(JsonString(entry.name));
        out.append(", \"pattern\": ").append(JsonString(entry.pattern));
        out.append(", \"size\": ").append(JsonString(entry.sizeText));
        out.append(", \"date\": ").append(JsonString(entry.dateText)).append("}");
    };
    auto appendCount = [](std::string& out, const char* name, long long count) {
        out.append(name).append(std::to_string(count));
    };
    std::string out;
    appendCount(out, "{\"countA\": ", comparison.files[kSideA].size());
    appendCount(out, ", \"countB\": ", comparison.files[kSideB].size());
    appendCount(out, ", \"target\": ", counts.target);
    appendCount(out, ", \"equal\": ", counts.equal);
    appendCount(out, ", \"differ\": ", counts.differ);
    out += ",\n \"rows\": [";
    for (std::size_t row = 0; row < comparison.pairs[kSideA].size(); ++row) {
        const FileEntry& a = comparison.pairs[kSideA][row];
        out += row == 0 ? "\n  " : ",\n  ";
        appendCount(out, "{\"status\": ", a.status);
        out += ", \"a\": ";
        appendHalf(out, a);
        out += ", \"b\": ";
        appendHalf(out, comparison.pairs[kSideB][row]);
        out += "}";
    }
    out += "]}\n";
    return out;
}

}  // namespace ko::cli
