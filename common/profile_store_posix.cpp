#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "common/ini_file.h"
#include "common/native_name.h"
#include "common/number_reading.h"
#include "common/profile_store.h"
#include "common/text.h"

namespace ko {

namespace {

// No settings file comes near this; a larger file in its place is left alone (read as missing
// keys, never rewritten) instead of being parsed and written back.
constexpr off_t kLargestSettingsFile = 16 << 20;

enum class FileState { kMissing, kRead, kUnusable };

struct LoadedFile {
    FileState state = FileState::kMissing;
    IniFile ini;
    struct stat info {};  // of the file read
};

// Reads and parses the settings file once; a file that is no regular file, or too large for one,
// is unusable and is never written.
LoadedFile Load(const std::string& path) {
    LoadedFile loaded;
    // Without O_NONBLOCK a FIFO in the file's place would block the program before it starts.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        loaded.state = errno == ENOENT ? FileState::kMissing : FileState::kUnusable;
        return loaded;
    }
    struct stat& info = loaded.info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestSettingsFile) {
        ::close(fd);
        loaded.state = FileState::kUnusable;
        return loaded;
    }
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

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// Writes `bytes` into a new file beside `path` and renames it over `path`, so a write that
// fails half-way (a full disk) leaves the old file whole. A file that existed keeps its
// permissions and, where the system allows, its owner; a new one gets 0666 less the umask.
bool ReplaceFile(const std::string& path, const std::string& bytes, const LoadedFile& old) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool written = true;
    if (old.state == FileState::kRead) {
        written = ::fchmod(fd, old.info.st_mode & 07777) == 0;
        // Only the superuser may give a file away; for anyone else the owner is already right.
        [[maybe_unused]] const int owned = ::fchown(fd, old.info.st_uid, old.info.st_gid);
    }
    written = written && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

// The file a write goes to: a link is followed to the file it names, so the link stays.
bool WriteTarget(const std::string& path, std::string& target) {
    struct stat info {};
    target = path;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return false;
    target = resolved;
    return true;
}

class NativeSection final : public ProfileSection {
  public:
    explicit NativeSection(IniSection values) : values_(std::move(values)) {}

    std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                              std::size_t max_characters) const override {
        const std::u16string* value = values_.Find(key);
        return CutText(value ? std::u16string_view(*value) : fallback, max_characters);
    }

    // Only a missing key gives the default: "12px" is 12, "abc" and an empty value are 0.
    std::int32_t ReadInt(std::u16string_view key, std::int32_t fallback) const override {
        const std::u16string* value = values_.Find(key);
        return value ? ReadLeadingNumber(*value, value->size()) : fallback;
    }

  private:
    IniSection values_;
};

// The native stand-in for the private-profile functions, reading and writing the whole file.
class NativeProfileStore final : public ProfileStore {
  public:
    std::unique_ptr<ProfileSection> ReadSection(std::u16string_view file,
                                                std::u16string_view section) override {
        const LoadedFile loaded = Load(TextToNativeName(file));
        return std::make_unique<NativeSection>(
            loaded.state == FileState::kRead ? loaded.ini.Section(section) : IniSection());
    }

    bool WriteSection(std::u16string_view file, std::u16string_view section,
                      const std::vector<ProfileEntry>& entries) override {
        std::string path;
        if (!WriteTarget(TextToNativeName(file), path)) return false;
        LoadedFile loaded = Load(path);
        // A file that exists but cannot be read is never replaced by one holding only our keys.
        // Like the read-only attribute on Windows, a file nobody may write stays unwritten even
        // for a user (root) whom the system would let through.
        const bool read_only = (loaded.info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
        if (loaded.state == FileState::kUnusable || (loaded.state == FileState::kRead && read_only))
            return false;
        for (const ProfileEntry& entry : entries)
            loaded.ini.SetValue(section, entry.key, entry.value);
        return ReplaceFile(path, loaded.ini.Serialize(), loaded);
    }
};

}  // namespace

ProfileStore& PlatformProfileStore() {
    static NativeProfileStore store;
    return store;
}

}  // namespace ko
