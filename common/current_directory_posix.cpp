#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/current_directory.h"
#include "common/text.h"

namespace ko {

std::u16string ReadCurrentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) return Utf8ToUtf16(buffer.c_str());
        if (errno != ERANGE || buffer.size() >= (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool ChangeCurrentDirectory(std::u16string_view directory) {
    if (directory.empty()) return false;
    return ::chdir(Utf16ToUtf8(directory).c_str()) == 0;
}

}  // namespace ko
