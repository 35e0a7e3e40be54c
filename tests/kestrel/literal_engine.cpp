#include "tests/kestrel/literal_engine.h"

#include <algorithm>
#include <cstring>

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
        const int length = lead < 0x80   ? 1
                           : lead < 0xC2 ? 0
                           : lead < 0xE0 ? 2
                           : lead < 0xF0 ? 3
                           : lead < 0xF5 ? 4
                                         : 0;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        int good = 1;  // bytes of the sequence that fit so far
        for (; length > 1 && good < length && i + good < n; ++good) {
            const std::uint8_t c = b[i + good];
            const std::uint8_t low = good > 1       ? 0x80
                                     : lead == 0xE0 ? 0xA0
                                     : lead == 0xF0 ? 0x90
                                                    : 0x80;
            const std::uint8_t high = good > 1       ? 0xBF
                                      : lead == 0xED ? 0x9F
                                      : lead == 0xF4 ? 0x8F
                                                     : 0xBF;
            if (c < low || c > high) break;
            code = code << 6 | (c & 0x3F);
        }
        i += good;
        if (length == 0 || good < length) {
            out[units++] = 0xFFFD;
        } else if (code > 0xFFFF) {
            out[units++] = static_cast<char16_t>(0xD7C0 + (code >> 10));
            out[units++] = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
        } else {
            out[units++] = static_cast<char16_t>(code);
        }
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
    for (std::size_t i = 0; i < n;) {
        std::size_t taken = b[i] < 0x80 ? 1 : 0;
        if (taken == 1) out[units++] = b[i];
        for (std::size_t width = 1; width <= 2 && i + width <= n && taken == 0; ++width) {
            char16_t unit = 0;
            char* in = const_cast<char*>(reinterpret_cast<const char*>(b + i));
            char* to = reinterpret_cast<char*>(&unit);
            std::size_t in_left = width, out_left = 2;
            iconv(cp932, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cp932, &in, &in_left, &to, &out_left) == 0 && out_left == 0) {
                out[units++] = unit;
                taken = width;
            }
        }
        if (taken == 0) out[units++] = 0xFFFD;
        i += taken == 0 ? 1 : taken;
    }
    return units;
#endif
}

}  // namespace

int Grid::Length(int r) const {
    int n = 0;
    while (n < columns && Row(r)[n] != 0)
        ++n;
    return n;
}

Grid LoadBytes(const std::string& bytes, int kaimode, int rows, int columns, int& line_count) {
    Grid grid(rows, columns);
    const auto byte = [&](std::size_t i) -> std::uint8_t {
        return i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
    };
    int encoding = 3;  // 0 UTF-16LE, 1 UTF-16BE, 2 UTF-8, 3 ANSI
    std::size_t pos = 0;
    if (byte(0) == 0xFF && byte(1) == 0xFE) {
        encoding = 0;
        pos = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        encoding = 1;
        pos = 2;
    } else if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        encoding = 2;
        pos = 3;
    }
    const std::size_t unit_bytes = encoding <= 1 ? 2 : 1;
    // Reads one unit; false at the end of the file (an odd last byte of UTF-16 is no unit).
    auto read_unit = [&](char16_t& unit) {
        if (pos + unit_bytes > bytes.size()) return false;
        if (encoding == 0)
            unit = byte(pos) | (byte(pos + 1) << 8);
        else if (encoding == 1)
            unit = (byte(pos) << 8) | byte(pos + 1);
        else
            unit = byte(pos);
        pos += unit_bytes;
        return true;
    };
    line_count = 0;
    for (bool end_of_file = false; !end_of_file;) {
        char16_t buffer[528] = {};
        int p = 0;
        bool line_end = false;
        while (p < 512) {
            char16_t u;
            if (!read_unit(u)) {
                end_of_file = true;
                break;
            }
            buffer[p] = u;
            if (kaimode == 0 && u == 0x0A && p > 0 && buffer[p - 1] == 0x0D) {
                buffer[p] = buffer[p - 1] = 0;
                line_end = true;
            } else if (kaimode == 1 && u == 0x0A) {
                buffer[p] = 0;
                line_end = true;
            } else if (kaimode == 2 && u == 0x0D) {
                buffer[p] = 0;
                line_end = true;
            }
            ++p;
            if (line_end) break;
        }
        // Decode: the line ends at its first 0 unit.
        char16_t decoded[528] = {};
        int length = 0;
        if (encoding <= 1) {
            while (length < 512 && buffer[length] != 0) {
                decoded[length] = buffer[length];
                ++length;
            }
        } else {
            std::uint8_t raw[528] = {};
            std::size_t n = 0;
            while (n < 512 && buffer[n] != 0) {
                raw[n] = static_cast<std::uint8_t>(buffer[n]);
                ++n;
            }
            length = encoding == 2 ? DecodeUtf8(raw, n, decoded) : DecodeAnsi(raw, n, decoded);
        }
        char16_t* row = grid.Row(line_count);
        std::fill(row, row + columns, u'\0');
        std::copy(decoded, decoded + std::min(length, columns), row);
        if (line_count < rows - 1) ++line_count;
    }
    return grid;
}

namespace {

bool RowsEqual(const Grid& a, int ra, const Grid& b, int rb) {
    const int length = std::max(a.Length(ra), b.Length(rb));
    return std::equal(a.Row(ra), a.Row(ra) + length, b.Row(rb));
}

void ClearRow(Grid& g, int r) {
    std::fill(g.Row(r), g.Row(r) + g.columns, u'\0');
}

void MoveRows(Grid& g, int from_bottom, int down_to, int k) {
    for (int r = from_bottom; r >= down_to; --r) {
        ClearRow(g, r + k);
        std::copy(g.Row(r), g.Row(r) + g.columns, g.Row(r + k));
    }
}

}  // namespace

Comparison Compare(const Grid& loaded_a, int count_a, const Grid& loaded_b, int count_b,
                   int state) {
    const int rows = loaded_a.rows, columns = loaded_a.columns;
    Comparison c(rows, columns);
    const Grid* loaded[2] = {&loaded_a, &loaded_b};
    for (int side = 0; side < 2; ++side) {
        for (int r = 0; r < rows; ++r) {
            const int n = loaded[side]->Length(r);
            std::copy(loaded[side]->Row(r), loaded[side]->Row(r) + n, c.working[side].Row(r));
            std::fill(c.colour[side].Row(r), c.colour[side].Row(r) + n, u'1');
        }
    }
    int nA = count_a, nB = count_b;
    int j = 0;
    while (j < rows) {
        Grid& wa = c.working[0];
        Grid& wb = c.working[1];
        if (RowsEqual(wa, j, wb, j)) {
            std::fill(c.colour[0].Row(j), c.colour[0].Row(j) + wa.Length(j), u'0');
            std::fill(c.colour[1].Row(j), c.colour[1].Row(j) + wb.Length(j), u'0');
            ++j;
            continue;
        }
        const int t = std::max(nA, nB);
        const int window = std::max(0, std::min(t, rows - t));
        bool hit = false;
        for (int k = 1; k <= window - 1 && !hit; ++k) {
            for (int test = 0; test < 2 && !hit; ++test) {
                // test 0: B has extra lines (fill side A); test 1: A has extra lines.
                const int fill = test == 0 ? 0 : 1, other = 1 - fill;
                const bool equal =
                    test == 0 ? RowsEqual(wa, j, wb, j + k) : RowsEqual(wa, j + k, wb, j);
                if (!equal) continue;
                hit = true;
                if (j <= t) {
                    MoveRows(c.working[fill], t, j, k);
                    MoveRows(c.colour[fill], t, j, k);
                }
                for (int r = j; r < j + k; ++r) {
                    const int n = std::max(1, c.working[other].Length(r));
                    ClearRow(c.working[fill], r);
                    ClearRow(c.colour[fill], r);
                    std::fill(c.working[fill].Row(r), c.working[fill].Row(r) + n, u' ');
                    std::fill(c.colour[fill].Row(r), c.colour[fill].Row(r) + n, u'2');
                }
                j += k;
                const int n = c.working[fill].Length(j);
                std::fill(c.colour[0].Row(j), c.colour[0].Row(j) + n, u'0');
                std::fill(c.colour[1].Row(j), c.colour[1].Row(j) + n, u'0');
                ++j;
                (fill == 0 ? nA : nB) += k;
                state = 2;
            }
        }
        if (!hit) {
            ++j;
            state = 2;
        }
    }
    for (int r = 0; r < nA; ++r) {
        const int length = std::max(c.working[0].Length(r), c.working[1].Length(r));
        if (c.colour[0].Row(r)[0] == u'1' && c.colour[1].Row(r)[0] == u'1' && length > 0) {
            for (int col = 0; col < length; ++col) {
                if (c.working[0].Row(r)[col] == c.working[1].Row(r)[col])
                    c.colour[0].Row(r)[col] = c.colour[1].Row(r)[col] = u'0';
            }
        }
    }
    c.state = state == 0 ? 1 : state;
    c.nA = nA;
    c.nB = nB;
    return c;
}

}  // namespace kestrel::literal
