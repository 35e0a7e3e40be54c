// An INI file held in memory the way the settings are kept natively: the lines of the file as
// they were read, key=value lines found by section and key, changed lines re-encoded and every
// other line written back byte for byte. Understands the forms the platform's profile functions
// read: [section] headers, key=value with blanks around both, a value in matching quotes, ';'
// comments; sections and keys match without regard to ASCII case, and the first of a repeated
// section or key counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ko {

enum class IniEncoding { kUtf16Le, kUtf8WithBom, kCodePage932 };

// One "key=value" line as the profile functions read it: the key and the value without the
// blanks around them, the value without one pair of matching quotes. Nothing for a comment, a
// section header, or a line without '=' or without a key.
struct IniKeyLine {
    std::u16string_view key;
    std::u16string_view value;
};
std::optional<IniKeyLine> ReadKeyLine(std::u16string_view line);

// The keys of one section with their values, read once for many look-ups. The first of a
// repeated key counts; keys match without regard to ASCII case.
class IniSection {
  public:
    void Add(std::u16string_view key, std::u16string_view value);
    // The value of `key`, or null when the section has no such key.
    const std::u16string* Find(std::u16string_view key) const;

  private:
    std::unordered_map<std::u16string, std::u16string> values_;  // by key in lower case
};

class IniFile {
  public:
    // An empty file, written as UTF-16LE with a byte-order mark so that every character
    // survives and the Windows profile functions read it as it is meant.
    IniFile() = default;

    // Reads the bytes of a file as the Windows profile functions do: UTF-16LE after FF FE,
    // UTF-8 after EF BB BF, and without a mark the ANSI code page of a Japanese Windows (932),
    // whatever the bytes look like. An empty file counts as new.
    static IniFile Parse(std::string_view bytes);

    // The file's bytes in the encoding it was read in, with its own line breaks.
    std::string Serialize() const;

    IniEncoding encoding() const { return encoding_; }

    // The value of `key` in `section` as the profile functions give it (blanks around it and one
    // pair of matching quotes removed), or nothing when the section or the key is missing.
    std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;

    // The number at the start of the value of `key`, read like the dialogs read their boxes
    // (blanks, an optional sign, decimal digits): "12px" is 12, "abc" and an empty value are 0.
    // Nothing when the key is missing, so only then the caller's default applies. Beyond 32
    // bits the number saturates, where the Windows profile functions would wrap around.
    std::optional<std::int32_t> Number(std::u16string_view section, std::u16string_view key) const;

    // Replaces the value of `key` where it stands, or adds the key after the section's last line,
    // adding the section at the end of the file when it is missing. A value ends at its first
    // line break or 0 unit: one key cannot turn into several lines.
    void SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // The keys of `section` in file order, as written.
    std::vector<std::u16string> Keys(std::u16string_view section) const;

    // Every key of `section` with its value as Value() gives it; empty when it is missing.
    IniSection Section(std::u16string_view section) const;

  private:
    struct Line {
        std::u16string text;  // decoded, without the line break
        std::string bytes;    // as read, line break included; unused once the line is rewritten
        bool has_break = false;
        bool rewritten = false;
    };
    struct SectionRange {
        std::size_t header;  // index of the [section] line
        std::size_t end;     // index after the section's last line
    };

    std::optional<SectionRange> FindSection(std::u16string_view section) const;
    std::string Encode(std::u16string_view text) const;
    void AddLines(std::string_view bytes, std::size_t unit);

    IniEncoding encoding_ = IniEncoding::kUtf16Le;
    std::u16string line_break_ = u"\r\n";
    std::vector<Line> lines_;
    // The odd last byte of UTF-16 text: no unit, kept at the very end so that no unit after it
    // shifts when lines are added.
    std::string stray_byte_;
};

}  // namespace ko
