#include "tests/kestrel/literal_engine.h"

#include <algorithm>

#include "kestrel/engine/line_decoder.h"

namespace kestrel::literal {

namespace {

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
                           : utf8   ? static_cast<int>(DecodeUtf8Piece(raw, n, decoded))
                                    : static_cast<int>(DecodeAnsiPiece(raw, n, decoded));
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
