// Joining folders and names the way both programs do: one separator between them, none added
// when the folder already ends with one. Windows takes '\' (and '/'); POSIX takes '/'.
#pragma once

#include <string>
#include <string_view>

namespace ko {

#ifdef _WIN32
constexpr char16_t kPathSeparator = u'\\';
inline bool IsPathSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}
#else
constexpr char16_t kPathSeparator = u'/';
inline bool IsPathSeparator(char16_t c) {
    return c == u'/';
}
#endif

inline bool EndsWithSeparator(std::u16string_view folder) {
    return !folder.empty() && IsPathSeparator(folder.back());
}

// `folder`, a separator unless `folder` already ends with one, then `name`.
inline std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!EndsWithSeparator(folder)) path += kPathSeparator;
    path += name;
    return path;
}

}  // namespace ko
