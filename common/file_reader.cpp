#include "common/file_reader.h"

namespace ko {

std::size_t FileReader::ReadFully(void* buffer, std::size_t size) {
    std::size_t total = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (total < size) {
        const std::size_t got = Read(bytes + total, size - total);
        if (got == 0) break;
        total += got;
    }
    return total;
}

}  // namespace ko
