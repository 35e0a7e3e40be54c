#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "common/file_reader.h"
#include "common/native_name.h"

namespace ko {

namespace {

int Descriptor(void* handle) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle)) - 1;
}

bool IsRegularFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

const int FileReader::kNotRegularFile = EOPNOTSUPP;

FileReader::~FileReader() {
    if (open_) Close();
}

int FileReader::Open(std::u16string_view path) {
    if (open_) Close();
    // Without O_NONBLOCK opening a FIFO waits for a writer; for a regular file it changes
    // nothing, so the type can be checked on the descriptor itself.
    const int fd = ::open(TextToNativeName(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
        ::close(fd);
        return error;
    }
    handle_ = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);
    open_ = true;
    unverified_ = refused_ = false;
    return 0;
}

int FileReader::OpenListed(std::u16string_view path, std::uint64_t listedBytes) {
    if (open_) Close();
    const int fd = ::open(TextToNativeName(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    handle_ = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);
    open_ = unverified_ = true;
    refused_ = false;
    listedBytes_ = listedBytes;
    delivered_ = 0;
    return 0;
}

std::size_t FileReader::Read(void* buffer, std::size_t size) {
    if (!open_ || refused_) return 0;
    ssize_t got = 0;
    do {
        got = ::read(Descriptor(handle_), buffer, size);
    } while (got < 0 && errno == EINTR);
    const std::size_t delivered = got < 0 ? 0 : static_cast<std::size_t>(got);
    if (unverified_) {
        delivered_ += delivered;
        const bool ended = delivered < size;
        const bool unexpected =
            listedBytes_ == kUnlisted
                ? !ended
                : delivered_ > listedBytes_ || (ended && delivered_ != listedBytes_);
        if (unexpected) {
            unverified_ = false;
            refused_ = !IsRegularFile(Descriptor(handle_));
            if (refused_) return 0;
        }
    }
    return delivered;
}

int FileReader::Close() {
    if (!open_) return 0;
    open_ = false;
    const int result = ::close(Descriptor(handle_));
    handle_ = nullptr;
    return result == 0 ? 0 : errno;
}

PathKind KindOfPath(std::u16string_view path) {
    struct stat info {};
    if (::stat(TextToNativeName(path).c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::kMissing : PathKind::kOther;
    if (S_ISREG(info.st_mode)) return PathKind::kFile;
    return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kOther;
}

}  // namespace ko
