// The extension-group table from any group numbers, and name matching and listing order for
// any pattern and name.
#include <string>

#include "common/extension_groups.h"
#include "common/text.h"
#include "osprey/name_matching.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ko::fuzz::FuzzInput input(data, size);
    ko::ExtensionGroupTable table = ko::DefaultExtensionGroups();
    for (ko::ExtensionGroup& row : table)
        row.groupNo = static_cast<std::int8_t>(input.Byte()) % 5;
    std::size_t rows = 0;
    for (const int group : ko::GroupNumbers(table)) {
        const std::vector<int> members = ko::RowsOfGroup(table, group);
        KO_FUZZ_CHECK(!members.empty() && members[0] == ko::FirstRowOfGroup(table, group));
        for (const int row : members)
            KO_FUZZ_CHECK(table[row].groupNo == group);
        rows += members.size();
    }
    KO_FUZZ_CHECK(rows == table.size());

    const std::u16string pattern = ko::Utf8ToUtf16(input.Piece()),
                         name = ko::Utf8ToUtf16(input.Piece());
    osprey::SearchPattern(pattern).Matches(name);
    KO_FUZZ_CHECK(osprey::SearchPattern(u"*.*").Matches(name));
    KO_FUZZ_CHECK(osprey::SearchPattern(pattern).Matches(pattern));  // '*' and '?' match themselves
    std::string key_pattern, key_name;
    osprey::AppendListingKey(pattern, key_pattern);
    osprey::AppendListingKey(name, key_name);
    KO_FUZZ_CHECK((key_pattern == key_name) == (pattern == name));
    return 0;
}
