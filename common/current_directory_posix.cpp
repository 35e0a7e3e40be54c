#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/current_directory.h"
#include "common/native_name.h"

namespace ko {

std::u16string ReadCurrentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr)
            return NativeNameToText(buffer.c_str());
        if (errno != ERANGE || buffer.size() >= (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool ChangeCurrentDirectory(std::u16string_view directory) {
    if (directory.empty()) return false;
    return ::chdir(TextToNativeName(directory).c_str()) == 0;
}

}  // namespace ko
