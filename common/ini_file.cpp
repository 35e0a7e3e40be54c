#include "common/ini_file.h"

#include <algorithm>

#include "common/code_page_932.h"
#include "common/number_reading.h"
#include "common/text.h"

namespace ko {

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// The name of a "[name]" line; text after the bracket is ignored.
std::optional<std::u16string_view> SectionName(std::u16string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != u'[') return std::nullopt;
    const std::size_t close = line.find(u']');
    if (close == std::u16string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

std::optional<IniKeyLine> SplitKeyLine(std::u16string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == u';' || SectionName(line)) return std::nullopt;
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view key = Trim(line.substr(0, equals));
    if (key.empty()) return std::nullopt;
    return IniKeyLine{key, Trim(line.substr(equals + 1))};
}

std::u16string_view Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return text;
}

std::u16string LowerAscii(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower)
        c = FoldAscii(c);
    return lower;
}

}  // namespace

std::optional<IniKeyLine> ReadKeyLine(std::u16string_view line) {
    auto read = SplitKeyLine(line);
    if (read) read->value = Unquote(read->value);
    return read;
}

void IniSection::Add(std::u16string_view key, std::u16string_view value) {
    values_.try_emplace(LowerAscii(key), value);
}

const std::u16string* IniSection::Find(std::u16string_view key) const {
    const auto found = values_.find(LowerAscii(key));
    return found == values_.end() ? nullptr : &found->second;
}

IniFile IniFile::Parse(std::string_view bytes) {
    IniFile file;
    if (bytes.empty()) return file;
    if (bytes.starts_with(kUtf16Mark)) {
        file.encoding_ = IniEncoding::kUtf16Le;
        bytes.remove_prefix(kUtf16Mark.size());
        if (bytes.size() % 2 != 0) {
            file.stray_byte_ = bytes.back();
            bytes.remove_suffix(1);
        }
        file.AddLines(bytes, 2);
    } else if (bytes.starts_with(kUtf8Mark)) {
        file.encoding_ = IniEncoding::kUtf8WithBom;
        file.AddLines(bytes.substr(kUtf8Mark.size()), 1);
    } else {
        file.encoding_ = IniEncoding::kCodePage932;
        file.AddLines(bytes, 1);
    }
    return file;
}

// Splits `bytes` after every LF of the encoding's `unit` size (CP932 trail bytes are never
// 0x0A, so a byte search is safe) and takes the file's line break from its first line.
void IniFile::AddLines(std::string_view bytes, std::size_t unit) {
    bool break_seen = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        bool has_break = false;
        for (; end + unit <= bytes.size(); end += unit) {
            if (bytes[end] == '\n' && (unit == 1 || bytes[end + 1] == '\0')) {
                end += unit;
                has_break = true;
                break;
            }
        }
        if (!has_break) end = bytes.size();
        Line line;
        line.bytes = std::string(bytes.substr(start, end - start));
        line.has_break = has_break;
        const std::string_view content = bytes.substr(start, end - start - (has_break ? unit : 0));
        switch (encoding_) {
            case IniEncoding::kUtf16Le:
                line.text = DecodeUtf16Le(content);
                break;
            case IniEncoding::kCodePage932:
                line.text = DecodeCodePage932(content);
                break;
            case IniEncoding::kUtf8WithBom:
                line.text = Utf8ToUtf16(content);
                break;
        }
        const bool carriage_return = !line.text.empty() && line.text.back() == u'\r';
        if (carriage_return) line.text.pop_back();
        if (has_break && !break_seen) {
            line_break_ = carriage_return ? u"\r\n" : u"\n";
            break_seen = true;
        }
        lines_.push_back(std::move(line));
        start = end;
    }
}

std::string IniFile::Encode(std::u16string_view text) const {
    switch (encoding_) {
        case IniEncoding::kUtf16Le: {
            std::string bytes;
            bytes.reserve(text.size() * 2);
            for (const char16_t unit : text) {
                bytes += static_cast<char>(unit & 0xFF);
                bytes += static_cast<char>(unit >> 8);
            }
            return bytes;
        }
        case IniEncoding::kCodePage932:
            return EncodeCodePage932(text);
        case IniEncoding::kUtf8WithBom:
            return Utf16ToUtf8(text);
    }
    return {};
}

std::string IniFile::Serialize() const {
    std::string out;
    if (encoding_ == IniEncoding::kUtf16Le) out = kUtf16Mark;
    if (encoding_ == IniEncoding::kUtf8WithBom) out = kUtf8Mark;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.rewritten) {
            out += Encode(line.text);
            out += Encode(line_break_);
            continue;
        }
        out += line.bytes;
        if (!line.has_break && i + 1 < lines_.size()) out += Encode(line_break_);
    }
    return out + stray_byte_;
}

std::optional<IniFile::SectionRange> IniFile::FindSection(std::u16string_view section) const {
    for (std::size_t header = 0; header < lines_.size(); ++header) {
        const auto name = SectionName(lines_[header].text);
        if (!name || !SameName(*name, section)) continue;
        std::size_t end = header + 1;
        while (end < lines_.size() && !SectionName(lines_[end].text))
            ++end;
        return SectionRange{header, end};
    }
    return std::nullopt;
}

std::optional<std::u16string> IniFile::Value(std::u16string_view section,
                                             std::u16string_view key) const {
    const auto range = FindSection(section);
    if (!range) return std::nullopt;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto line = ReadKeyLine(lines_[i].text);
        if (line && SameName(line->key, key)) return std::u16string(line->value);
    }
    return std::nullopt;
}

std::optional<std::int32_t> IniFile::Number(std::u16string_view section,
                                            std::u16string_view key) const {
    const std::optional<std::u16string> value = Value(section, key);
    if (!value) return std::nullopt;
    return ReadLeadingNumber(*value, value->size());
}

void IniFile::SetValue(std::u16string_view section, std::u16string_view key,
                       std::u16string_view value) {
    value = value.substr(0, value.find_first_of(std::u16string_view(u"\r\n\0", 3)));
    auto range = FindSection(section);
    if (!range) {
        Line header;
        header.text = u"[" + std::u16string(section) + u"]";
        header.rewritten = true;
        lines_.push_back(std::move(header));
        range = SectionRange{lines_.size() - 1, lines_.size()};
    }
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto line = SplitKeyLine(lines_[i].text);
        if (!line || !SameName(line->key, key)) continue;
        const std::u16string written_key(line->key);
        lines_[i].text = written_key + u"=" + std::u16string(value);
        lines_[i].rewritten = true;
        return;
    }
    // New keys follow the section's last line that says something, before any blank lines
    // that separate it from the next section.
    std::size_t at = range->end;
    while (at > range->header + 1 && Trim(lines_[at - 1].text).empty())
        --at;
    Line line;
    line.text = std::u16string(key) + u"=" + std::u16string(value);
    line.rewritten = true;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

IniSection IniFile::Section(std::u16string_view section) const {
    IniSection values;
    const auto range = FindSection(section);
    if (!range) return values;
    for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (const auto line = ReadKeyLine(lines_[i].text)) values.Add(line->key, line->value);
    return values;
}

std::vector<std::u16string> IniFile::Keys(std::u16string_view section) const {
    std::vector<std::u16string> keys;
    const auto range = FindSection(section);
    if (!range) return keys;
    for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (const auto line = SplitKeyLine(lines_[i].text)) keys.emplace_back(line->key);
    return keys;
}

}  // namespace ko
