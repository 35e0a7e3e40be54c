#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/ini_file.h"
#include "common/profile_store.h"
#include "common/text.h"

namespace ko {

namespace {

// No settings file comes near this; a larger file in its place is left alone (read as missing
// keys, never rewritten) instead of being parsed 135 times and written back.
constexpr off_t kLargestSettingsFile = 16 << 20;

enum class FileState { kMissing, kRead, kUnusable };

struct LoadedFile {
    FileState state = FileState::kMissing;
    IniFile ini;
    bool read_only = false;
};

LoadedFile Load(const std::string& path) {
    LoadedFile loaded;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        loaded.state = errno == ENOENT ? FileState::kMissing : FileState::kUnusable;
        return loaded;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestSettingsFile) {
        ::close(fd);
        loaded.state = FileState::kUnusable;
        return loaded;
    }
    // Like the read-only attribute on Windows, a file nobody may write stays unwritten even for
    // a user (root) whom the system would let through.
    loaded.read_only = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got == 0) break;  // the file shrank meanwhile
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            loaded.state = FileState::kUnusable;
            return loaded;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    ::close(fd);
    loaded.state = FileState::kRead;
    loaded.ini = IniFile::Parse(bytes);
    return loaded;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return ::close(fd) == 0;
}

// The native stand-in for the private-profile functions: every call reads the file afresh, as
// another instance of the program may have written it in between. Integers are read as
// IniFile::Number says: only a missing key gives the default.
class NativeProfileStore final : public ProfileStore {
  public:
    std::u16string ReadString(std::u16string_view file, std::u16string_view section,
                              std::u16string_view key, std::u16string_view fallback,
                              std::size_t max_characters) override {
        const LoadedFile loaded = Load(Utf16ToUtf8(file));
        const std::optional<std::u16string> value =
            loaded.state == FileState::kRead ? loaded.ini.Value(section, key) : std::nullopt;
        return CutText(value ? std::u16string_view(*value) : fallback, max_characters);
    }

    std::int32_t ReadInt(std::u16string_view file, std::u16string_view section,
                         std::u16string_view key, std::int32_t fallback) override {
        const LoadedFile loaded = Load(Utf16ToUtf8(file));
        if (loaded.state != FileState::kRead) return fallback;
        return loaded.ini.Number(section, key).value_or(fallback);
    }

    bool WriteString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override {
        const std::string path = Utf16ToUtf8(file);
        LoadedFile loaded = Load(path);
        // A file that exists but cannot be read is never replaced by one holding only our keys.
        if (loaded.state == FileState::kUnusable || loaded.read_only) return false;
        loaded.ini.SetValue(section, key, value);
        return WriteAll(path, loaded.ini.Serialize());
    }
};

}  // namespace

ProfileStore& PlatformProfileStore() {
    static NativeProfileStore store;
    return store;
}

}  // namespace ko
