// The libFuzzer harnesses, one program each: CMake builds this file once per harness with
// KO_FUZZ_<harness> defined. Each takes its input apart from the front and aborts at the first
// broken promise, so that libFuzzer keeps the input that broke it.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include "bench/silent_reporter.h"
#include "cli/kestrel_cli.h"
#include "cli/osprey_cli.h"
#include "common/code_page_932.h"
#include "common/extension_groups.h"
#include "common/ini_file.h"
#include "common/native_name.h"
#include "common/number_reading.h"
#include "common/text.h"
#include "kestrel/app/command_line.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/file_loader.h"
#include "osprey/name_matching.h"

#define CHECK(c) ((c) ? void(0) : (std::fprintf(stderr, "broken: %s\n", #c), std::abort()))

namespace {

// The bytes not taken yet.
struct Input {
    std::string_view rest;
    // The next `count` bytes, or as many as are left.
    std::string_view Take(std::size_t count) {
        const std::string_view taken = rest.substr(0, count);
        rest.remove_prefix(taken.size());
        return taken;
    }
    std::uint8_t Byte() { return rest.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }
    // The bytes up to the next 0 byte, which is dropped, or all that are left.
    std::string_view Piece() {
        const std::string_view piece = Take(rest.find('\0'));
        Take(1);
        return piece;
    }
    std::u16string Text() { return ko::Utf8ToUtf16(Piece()); }
    std::string_view Rest() { return Take(rest.size()); }
};

template <typename T>
bool Same(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;  // counters only, no padding
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input{{reinterpret_cast<const char*>(data), size}};
#if defined(KO_FUZZ_loader)
    // Two files of any bytes, every newline code, small grids: an engine that loaded and compared
    // other files before must end exactly like a fresh one, and so must one that keeps its lines
    // in compact stores (kestrel-cli --quiet), in its line counts, cuts and outcome.
    using namespace kestrel;
    static const int kColumns[] = {1, 3, 8, 64, 600}, kRows[] = {1, 2, 5, 40};
    static std::map<int, std::unique_ptr<Engine>> reused;  // by shape, compact ones negative
    static ko::bench::SilentReporter reporter;
    const int kaimode = input.Byte() % 4, columns = kColumns[input.Byte() % 5],
              rows = kRows[input.Byte() % 4];
    const std::string_view files[2] = {input.Take(input.Byte()), input.Rest()};
    std::unique_ptr<Engine>& old = reused[columns * 100 + rows];
    if (!old) (old = std::make_unique<Engine>())->Allocate(columns, rows, reporter, nullptr);
    std::unique_ptr<Engine>& quiet = reused[-columns * 100 - rows];
    if (!quiet)
        (quiet = std::make_unique<Engine>())
            ->Allocate(columns, rows, reporter, nullptr, LineStorage::kCompact);
    auto fresh = std::make_unique<Engine>();
    fresh->Allocate(columns, rows, reporter, nullptr);
    Engine* const engines[3] = {old.get(), quiet.get(), fresh.get()};
    for (int side = 0; side < 2; ++side) {
        const std::string path = "/tmp/ko-fuzz-" + std::to_string(::getpid()) + "ab"[side];
        std::ofstream(path, std::ios::binary).write(files[side].data(), files[side].size());
        LoadCuts cuts[3];
        for (int e = 0; e < 3; ++e)
            LoadSide(*engines[e], side, ko::NativeNameToText(path), kaimode, reporter, nullptr,
                     cuts[e]);
        std::remove(path.c_str());
        for (int e = 0; e < 2; ++e)
            CHECK(Same(cuts[e], cuts[2]) &&
                  engines[e]->sides[side].lineCount == fresh->sides[side].lineCount);
    }
    const AlignedCounts counts = CompareSides(*fresh, reporter);
    for (int e = 0; e < 2; ++e)
        CHECK(Same(CompareSides(*engines[e], reporter), counts) &&
              engines[e]->compareState == fresh->compareState);
    for (int grid = 0; grid < kGridCount; ++grid)
        CHECK(std::memcmp(old->grids.Bytes(grid), fresh->grids.Bytes(grid),
                          old->grids.grid_bytes()) == 0);
#elif defined(KO_FUZZ_ini_store)
    // Any file: set one key, write, read back. The key reads back its value, every other key of
    // the section keeps its own. Keys are the programs' own: letters and digits.
    std::u16string key = input.Text();
    const std::u16string value = input.Text();
    if (key.empty() || !std::all_of(key.begin(), key.end(),
                                    [](char16_t c) { return c < 0x80 && std::isalnum(c); }))
        key = u"k";
    const ko::IniFile before = ko::IniFile::Parse(input.Rest());
    ko::IniFile file = before;
    file.SetValue(u"Setting", key, value);
    const ko::IniFile after = ko::IniFile::Parse(file.Serialize());
    ko::IniSection set;
    set.Add(key, u"");
    for (const std::u16string& other : before.Keys(u"Setting"))
        if (!set.Find(other))
            CHECK(after.Value(u"Setting", other) == before.Value(u"Setting", other));
    // A value reads back as written without line breaks, blanks or a quote at its ends, and in
    // code page 932 when it is ASCII.
    const bool ascii = after.encoding() != ko::IniEncoding::kCodePage932;
    if (std::all_of(value.begin(), value.end(),
                    [&](char16_t c) { return c > u' ' && (ascii || c < 0x80); }) &&
        (value.empty() || (value.front() != u'"' && value.front() != u'\'')))
        CHECK(after.Value(u"Setting", key) == value);
#elif defined(KO_FUZZ_decoding)
    // Native names come back byte for byte; code page 932 text survives being written again.
    const std::string_view bytes = input.Rest();
    std::u16string units(size + 1, u'\0');
    CHECK(ko::DecodeUtf8(data, size, units.data()) <= size);
    CHECK(ko::TextToNativeName(ko::NativeNameToText(bytes)) == bytes);
    const std::u16string text = ko::DecodeCodePage932(bytes);
    if (!ko::LostInCodePage932(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                               text.data(), text.size()))
        CHECK(ko::DecodeCodePage932(ko::EncodeCodePage932(text)) == text);
#elif defined(KO_FUZZ_numbers)
    // The dialogs read a number as strtoll reads the same characters, any other unit stopping it.
    const std::size_t characters = input.Byte();
    const std::u16string text = ko::Utf8ToUtf16(input.Rest());
    std::string narrow;
    for (const char16_t unit : text.substr(0, characters).substr(0, text.find(u'\0')))
        narrow += unit < 0x80 ? static_cast<char>(unit) : '\x01';
    const long long expected = std::strtoll(narrow.c_str(), nullptr, 10);
    CHECK(ko::ReadLeadingNumber(text, characters) ==
          std::clamp<long long>(expected, INT_MIN, INT_MAX));
#elif defined(KO_FUZZ_command_lines)
    // Both console programs' arguments and Kestrel's own command line.
    std::vector<std::u16string> arguments;
    std::u16string line;
    for (std::string_view piece = input.Piece(); !piece.empty(); piece = input.Piece()) {
        arguments.push_back(ko::NativeNameToText(piece));
        line += u' ' + arguments.back();
    }
    std::string error;
    ko::cli::KestrelCliOptions kestrel;
    if (ko::cli::ParseKestrelCliArguments(arguments, kestrel, error) && !kestrel.help)
        CHECK(!(kestrel.json && kestrel.quiet) && error.empty());
    ko::cli::OspreyCliOptions osprey;
    if (!ko::cli::ParseOspreyCliArguments(arguments, osprey, error)) CHECK(!error.empty());
    kestrel::app::CommandLinePaths paths;
    kestrel::app::ParseCommandLine(line, paths);
    for (const std::u16string_view path : {paths.a, paths.b})
        CHECK(line.find(path) != line.npos &&
              (path.find(u' ') == path.npos || line.find(u'"') != line.npos));  // quoted only
#elif defined(KO_FUZZ_groups_and_names)
    // The group table from any numbers; name matching and listing order for any pattern and name.
    ko::ExtensionGroupTable table = ko::DefaultExtensionGroups();
    for (ko::ExtensionGroup& row : table)
        row.groupNo = static_cast<std::int8_t>(input.Byte()) % 5;
    std::size_t rows = 0;
    for (const int group : ko::GroupNumbers(table)) {
        const std::vector<int> members = ko::RowsOfGroup(table, group);
        CHECK(members.at(0) == ko::FirstRowOfGroup(table, group) &&
              std::all_of(members.begin(), members.end(),
                          [&](int row) { return table[row].groupNo == group; }));
        rows += members.size();
    }
    CHECK(rows == table.size());
    const std::u16string pattern = input.Text(), name = input.Text();
    CHECK(osprey::SearchPattern(u"*.*").Matches(name));
    CHECK(osprey::SearchPattern(pattern).Matches(pattern));  // '*' and '?' match themselves
    std::string key_pattern, key_name;
    osprey::AppendListingKey(pattern, key_pattern);
    osprey::AppendListingKey(name, key_name);
    CHECK((key_pattern == key_name) == (pattern == name));
#endif
    return 0;
}
