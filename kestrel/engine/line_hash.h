// The hash that lets the comparison test rows for equality by two integers before it looks at
// their text. Every hit is confirmed unit by unit, so the hash only needs a good spread.
#pragma once

#include <cstdint>
#include <cstring>

namespace kestrel {

inline std::uint64_t HashUnits(const char16_t* units, int count) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(count);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, units + i, sizeof(word));
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    for (int shift = 0; i < count; ++i, shift += 16)
        tail |= static_cast<std::uint64_t>(units[i]) << shift;
    hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53ULL;
    hash ^= hash >> 32;
    return hash;
}

}  // namespace kestrel
