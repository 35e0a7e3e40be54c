// How a search pattern picks the names of a folder, and the order names are listed in, the way
// the Windows directory search does it for long names on NTFS. The Windows build asks the
// system; the POSIX build lists with these rules so both programs behave alike.
//
// Matching rules (SearchPattern::Matches):
// - Letters match regardless of case (UpcaseUnit: ASCII, Latin-1, Latin Extended-A, Greek,
//   Cyrillic and full-width Latin letters).
// - "*" matches any run of characters, dots included, also an empty one. A pattern that is
//   exactly "*.*" is "*": it matches every name, names without a dot and "." and ".." included.
// - A "*" directly before a "." matches any run that leaves the name's last dot unswallowed,
//   so "*.cpp" matches "a.b.cpp" but not "a.cpp.bak".
// - "?" matches one character other than a dot; in front of a dot or at the end of the name it
//   may also match nothing, so "???.txt" matches "ab.txt" but not "abcd.txt".
// - A "." directly before "?" or "*", and a "." that ends the pattern, match a dot or the end of
//   the name: "readme.*" matches "readme" and "readme.md"; "*." matches names without a dot.
// - Every other unit matches itself.
// Windows also tries the 8.3 short alias of a long name ("*.htm" finds "page.html" through
// PAGE~1.HTM); names here have no alias, so that never happens.
//
// Order (AppendListingKey): "." first, ".." second, then by the upcased names unit by unit, the
// order of an NTFS folder index.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace osprey {

// A search pattern translated once, for matching many names.
class SearchPattern {
  public:
    explicit SearchPattern(std::u16string_view pattern);
    // Not const: the pattern keeps its scratch space between names.
    bool Matches(std::u16string_view name);

  private:
    enum class Token : char {
        kLiteral,
        kStar,     // any run
        kDosStar,  // "*" before ".": any run that keeps the name's last dot
        kDosQm,    // "?": one non-dot unit, or nothing before a dot or at the end
        kDosDot,   // "." before "?", "*" or at the end: a dot, or nothing at the end
    };
    struct Unit {
        Token token;
        char16_t upper;  // the literal, upcased
    };
    std::vector<Unit> units_;
    std::u16string literalTail_;     // upcased literals after the last wildcard: the name's ending
    bool tailDecides_ = false;       // "*" and literals only, as "*.cpp": the ending is the match
    std::vector<char> live_, next_;  // pattern positions reachable before and after a unit
};

char16_t UpcaseUnit(char16_t unit);

// Appends to `keys` a key whose byte order is the listing order of names, so sorting compares
// keys with memcmp; names equal but for case (possible in a POSIX folder) still get distinct
// keys in a fixed order. Keys of a whole folder share one string.
void AppendListingKey(std::u16string_view name, std::string& keys);

}  // namespace osprey
