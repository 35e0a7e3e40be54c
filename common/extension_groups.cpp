#include "common/extension_groups.h"

#include <algorithm>
#include <string_view>

namespace ko {

namespace {

template <std::size_t N>
void Put(char16_t (&field)[N], std::u16string_view text) {
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field);
}

}  // namespace

ExtensionGroupTable DefaultExtensionGroups() {
    ExtensionGroupTable table;
    struct Row {
        int group;
        std::u16string_view name, display, pattern;
    };
    static constexpr Row kNamed[] = {
        {0, u"ソースファイル", u"cppFile(*.cpp)", u"*.cpp"},
        {0, u"ヘッダファイル", u"hFile(*.h)", u"*.h"},
        {0, u"リソーススクリプト", u"rcFile(*.rc)", u"*.rc"},
        {1, u"テキスト", u"txtFile(*.txt)", u"*.txt"},
    };
    for (int row = 0; row < kExtensionGroupRows; ++row) {
        const Row fill = row < 4 ? kNamed[row] : Row{row + 100, u"すべて", u"allFile(*.*)", u"*.*"};
        table[row].groupNo = fill.group;
        Put(table[row].itemName, fill.name);
        Put(table[row].displayText, fill.display);
        Put(table[row].searchPattern, fill.pattern);
    }
    return table;
}

std::vector<int> RowsOfGroup(const ExtensionGroupTable& table, int group) {
    std::vector<int> rows;
    for (int row = 0; row < kExtensionGroupRows; ++row)
        if (table[row].groupNo == group) rows.push_back(row);
    return rows;
}

int FirstRowOfGroup(const ExtensionGroupTable& table, int group) {
    for (int row = 0; row < kExtensionGroupRows; ++row)
        if (table[row].groupNo == group) return row;
    return -1;
}

std::vector<int> GroupNumbers(const ExtensionGroupTable& table) {
    std::vector<int> numbers;
    for (const ExtensionGroup& row : table)
        if (std::find(numbers.begin(), numbers.end(), row.groupNo) == numbers.end())
            numbers.push_back(row.groupNo);
    return numbers;
}

}  // namespace ko
