#include "osprey/name_matching.h"

#include <vector>

namespace osprey {

SearchPattern::SearchPattern(std::u16string_view pattern) {
    if (pattern == u"*.*") pattern = u"*";
    units_.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        const char16_t next = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
        Token token = Token::kLiteral;
        if (c == u'*') token = next == u'.' ? Token::kDosStar : Token::kStar;
        if (c == u'?') token = Token::kDosQm;
        if (c == u'.' && (next == u'?' || next == u'*' || i + 1 == pattern.size()))
            token = Token::kDosDot;
        units_.push_back({token, UpcaseUnit(c)});
    }
    for (auto unit = units_.rbegin(); unit != units_.rend() && unit->token == Token::kLiteral;
         ++unit)
        literalTail_.insert(literalTail_.begin(), unit->upper);
    // A "*" before "." never swallows the last dot here: the ending holds that dot.
    tailDecides_ = units_.size() == literalTail_.size() + 1 &&
                   (units_[0].token == Token::kStar || units_[0].token == Token::kDosStar);
}

char16_t UpcaseUnit(char16_t c) {
    if (c < 0x61) return c;
    if (c <= 0x7A) return c - 0x20;                            // a-z
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à-þ
    if (c == 0xFF) return 0x178;                               // ÿ
    if (c >= 0x100 && c <= 0x17F) {                            // Latin Extended-A
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        const bool evenIsUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
        if (evenIsUpper) return c & 1 ? c - 1 : c;
        if (c == 0x178) return c;
        return c & 1 ? c : c - 1;  // 0139-0148, 0179-017E: odd is upper
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 0x20;  // Greek α-ϋ
    if (c == 0x3C2) return 0x3A3;                                 // final sigma
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic а-я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;                // ѐ-џ
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;              // full-width ａ-ｚ
    return c;
}

bool SearchPattern::Matches(std::u16string_view name) {
    const std::vector<Unit>& units = units_;
    const std::size_t count = units.size();
    const std::size_t lastDot = name.rfind(u'.');
    // Most names of a folder fail on their ending ("*.cpp" against "x.h"): a cheap test first.
    if (name.size() < literalTail_.size()) return false;
    const std::size_t tailStart = name.size() - literalTail_.size();
    for (std::size_t k = 0; k < literalTail_.size(); ++k)
        if (UpcaseUnit(name[tailStart + k]) != literalTail_[k]) return false;
    if (tailDecides_) return true;

    // The positions of the pattern the name's first i units can have led to, simulated for all
    // positions at once: no backtracking, at most pattern x name steps.
    std::vector<char>& live = live_;
    std::vector<char>& next = next_;
    live.assign(count + 1, 0);
    next.resize(count + 1);
    auto closeOver = [&](std::vector<char>& positions, std::size_t i) {
        const bool atEnd = i == name.size();
        const bool atDot = !atEnd && name[i] == u'.';
        for (std::size_t p = 0; p < count; ++p) {
            if (!positions[p]) continue;
            const Token token = units[p].token;
            if (token == Token::kStar || token == Token::kDosStar ||
                (token == Token::kDosQm && (atEnd || atDot)) || (token == Token::kDosDot && atEnd))
                positions[p + 1] = 1;
        }
    };
    live[0] = 1;
    closeOver(live, 0);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        const char16_t upper = UpcaseUnit(c);
        std::fill(next.begin(), next.end(), 0);
        bool any = false;
        for (std::size_t p = 0; p < count; ++p) {
            if (!live[p]) continue;
            std::size_t to = count + 1;  // none
            switch (units[p].token) {
                case Token::kStar:
                    to = p;
                    break;
                case Token::kDosStar:
                    if (i != lastDot) to = p;
                    break;
                case Token::kDosQm:
                    if (c != u'.') to = p + 1;
                    break;
                case Token::kDosDot:
                    if (c == u'.') to = p + 1;
                    break;
                case Token::kLiteral:
                    if (units[p].upper == upper) to = p + 1;
                    break;
            }
            if (to <= count) {
                next[to] = 1;
                any = true;
            }
        }
        if (!any) return false;
        closeOver(next, i + 1);
        live.swap(next);
    }
    return live[count] != 0;
}

void AppendListingKey(std::u16string_view name, std::string& key) {
    // Units as big-endian byte pairs keep their order under a byte-wise comparison. Written in
    // place: this runs for every listed entry of a folder of thousands.
    std::size_t at = key.size();
    key.resize(at + 1 + 4 * name.size() + 2);
    key[at++] = name == u"." ? '\0' : name == u".." ? '\1' : '\2';
    auto append = [&key, &at](char16_t unit) {
        key[at++] = static_cast<char>(unit >> 8);
        key[at++] = static_cast<char>(unit & 0xFF);
    };
    for (const char16_t unit : name)
        append(UpcaseUnit(unit));
    append(u'\0');  // a name before every longer name that starts with it
    for (const char16_t unit : name)
        append(unit);
}

}  // namespace osprey
