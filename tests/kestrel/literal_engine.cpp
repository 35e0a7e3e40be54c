#include "tests/kestrel/literal_engine.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace kestrel::literal {

namespace {

// UTF-8 as the Unicode standard reads it, on its own rather than through the product's decoder:
// each maximal invalid subpart becomes one U+FFFD.
int DecodeUtf8(const std::uint8_t* b, std::size_t n, char16_t* out) {
    int units = 0;
    for (std::size_t i = 0; i < n;) {
        const std::uint8_t lead = b[i];
        int length = lead < 0x80 ? 1 : 0;  // 0: a byte that starts no sequence
        if (lead >= 0xC2 && lead <= 0xF4) length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        int good = 1;  // bytes of the sequence that fit so far
        for (; length > 1 && good < length && i + good < n; ++good) {
            // The second byte's range is narrower after E0, ED, F0 and F4.
            const std::uint8_t c = b[i + good], first = good == 1 ? lead : 0;
            const int low = first == 0xE0 ? 0xA0 : first == 0xF0 ? 0x90 : 0x80;
            const int high = first == 0xED ? 0x9F : first == 0xF4 ? 0x8F : 0xBF;
            if (c < low || c > high) break;
            code = code << 6 | (c & 0x3F);
        }
        i += good;
        if (length == 0 || good < length) code = 0xFFFD;
        if (code > 0xFFFF) out[units++] = static_cast<char16_t>(0xD7C0 + (code >> 10));
        out[units++] = static_cast<char16_t>(code > 0xFFFF ? 0xDC00 | (code & 0x3FF) : code);
    }
    return units;
}

// Code page 932 through the platform's own converter, one character at a time: a byte that
// starts no character becomes U+FFFD.
int DecodeAnsi(const std::uint8_t* b, std::size_t n, char16_t* out) {
#ifdef _WIN32
    return n == 0 ? 0
                  : MultiByteToWideChar(932, MB_PRECOMPOSED, reinterpret_cast<const char*>(b),
                                        static_cast<int>(n), reinterpret_cast<wchar_t*>(out),
                                        static_cast<int>(n));
#else
    static const iconv_t cp932 = iconv_open("UTF-16LE", "CP932");
    int units = 0;
    for (std::size_t i = 0; i < n; ++units) {
        std::size_t taken = b[i] < 0x80 ? 1 : 0;  // bytes of the character at i
        out[units] = b[i];
        for (std::size_t width = 1; taken == 0 && width <= 2 && i + width <= n; ++width) {
            char* in = const_cast<char*>(reinterpret_cast<const char*>(b + i));
            char* to = reinterpret_cast<char*>(out + units);
            std::size_t in_left = width, out_left = 2;
            iconv(cp932, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cp932, &in, &in_left, &to, &out_left) == 0 && out_left == 0) taken = width;
        }
        if (taken == 0) out[units] = 0xFFFD;
        i += std::max<std::size_t>(taken, 1);
    }
    return units;
#endif
}

bool RowsEqual(const Grid& a, int ra, const Grid& b, int rb) {
    const int length = std::max(a.Length(ra), b.Length(rb));
    return std::equal(a.Row(ra), a.Row(ra) + length, b.Row(rb));
}

// Row `r` becomes `n` units `unit`, the rest of it 0.
void FillRow(Grid& g, int r, char16_t unit, int n) {
    std::fill(g.Row(r), g.Row(r + 1), u'\0');
    std::fill_n(g.Row(r), n, unit);
}

}  // namespace

Grid LoadBytes(const std::string& bytes, int kaimode, int rows, int columns, int& line_count) {
    Grid grid(rows, columns);
    const auto byte = [&](std::size_t i) -> std::uint8_t {
        return i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
    };
    const bool le = byte(0) == 0xFF && byte(1) == 0xFE, be = byte(0) == 0xFE && byte(1) == 0xFF;
    const bool utf8 = byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF;
    const std::size_t unit_bytes = le || be ? 2 : 1;
    std::size_t pos = le || be ? 2 : utf8 ? 3 : 0;
    line_count = 0;
    for (bool end_of_file = false; !end_of_file;) {
        // One piece: at most 512 units up to the unit that ends the line (an odd last byte of
        // UTF-16 is no unit). The units that end it become 0, and the text ends at the first 0.
        char16_t piece[512] = {};
        for (int p = 0; p < 512; ++p) {
            end_of_file = pos + unit_bytes > bytes.size();
            if (end_of_file) break;
            const char16_t u = piece[p] = le   ? byte(pos) | byte(pos + 1) << 8
                                          : be ? byte(pos) << 8 | byte(pos + 1)
                                               : byte(pos);
            pos += unit_bytes;
            const bool crlf = kaimode == 0 && u == 0x0A && p > 0 && piece[p - 1] == 0x0D;
            if (crlf) piece[p - 1] = 0;
            if (crlf || (kaimode == 1 && u == 0x0A) || (kaimode == 2 && u == 0x0D)) {
                piece[p] = 0;
                break;
            }
        }
        const int n = static_cast<int>(std::find(piece, piece + 512, u'\0') - piece);
        char16_t decoded[512];
        std::uint8_t raw[512];
        std::copy_n(piece, n, raw);
        const int length = le || be ? n
                           : utf8   ? DecodeUtf8(raw, n, decoded)
                                    : DecodeAnsi(raw, n, decoded);
        char16_t* row = grid.Row(line_count);
        std::fill(row, row + columns, u'\0');
        std::copy_n(le || be ? piece : decoded, std::min(length, columns), row);
        if (line_count < rows - 1) ++line_count;
    }
    return grid;
}

Comparison Compare(const Grid& loaded_a, int count_a, const Grid& loaded_b, int count_b) {
    const int rows = loaded_a.rows;
    Comparison c(rows, loaded_a.columns);
    Grid(&w)[2] = c.working;
    Grid(&colour)[2] = c.colour;
    w[0] = loaded_a;  // rows hold their text, then 0 units
    w[1] = loaded_b;
    for (int side = 0; side < 2; ++side)
        for (int r = 0; r < rows; ++r)
            std::fill_n(colour[side].Row(r), w[side].Length(r), u'1');
    int count[2] = {count_a, count_b};
    c.state = 1;
    for (int j = 0; j < rows;) {
        if (RowsEqual(w[0], j, w[1], j)) {
            for (int side = 0; side < 2; ++side)
                std::fill_n(colour[side].Row(j), w[side].Length(j), u'0');
            ++j;
            continue;
        }
        c.state = 2;
        const int t = std::max(count[0], count[1]);
        const int window = std::max(0, std::min(t, rows - t));
        bool hit = false;
        for (int k = 1; k <= window - 1 && !hit; ++k) {
            // First side B with k lines of its own (filler lines into side A), then side A.
            for (int fill = 0; fill < 2 && !hit; ++fill) {
                hit = fill == 0 ? RowsEqual(w[0], j, w[1], j + k) : RowsEqual(w[0], j + k, w[1], j);
                if (!hit) continue;
                for (Grid* g : {&w[fill], &colour[fill]})  // rows j..t of that side move down k
                    for (int r = t; r >= j; --r)
                        std::copy(g->Row(r), g->Row(r + 1), g->Row(r + k));
                for (int r = j; r < j + k; ++r) {
                    const int n = std::max(1, w[1 - fill].Length(r));
                    FillRow(w[fill], r, u' ', n);
                    FillRow(colour[fill], r, u'2', n);
                }
                j += k;
                const int n = w[fill].Length(j);
                for (int side = 0; side < 2; ++side)
                    std::fill_n(colour[side].Row(j), n, u'0');
                ++j;
                count[fill] += k;
            }
        }
        if (!hit) ++j;
    }
    // Rows without a partner, within side A's aligned lines: equal units at the same column
    // become "0" on both sides.
    for (int r = 0; r < count[0]; ++r) {
        const int length = std::max(w[0].Length(r), w[1].Length(r));
        if (colour[0].Row(r)[0] != u'1' || colour[1].Row(r)[0] != u'1' || length == 0) continue;
        for (int col = 0; col < length; ++col)
            if (w[0].Row(r)[col] == w[1].Row(r)[col])
                colour[0].Row(r)[col] = colour[1].Row(r)[col] = u'0';
    }
    c.nA = count[0];
    c.nB = count[1];
    return c;
}

}  // namespace kestrel::literal
