// Sequential read-only access to one input file. On Windows: CreateFileW with GENERIC_READ,
// FILE_SHARE_READ, OPEN_EXISTING and FILE_FLAG_SEQUENTIAL_SCAN, errors from GetLastError; on
// POSIX: open(2) with errors from errno. The file is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ko {

class FileReader {
  public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();

    // Opens `path`; returns 0 or the system's error code. Only a regular file (on Windows a
    // disk file) is opened: a pipe or a device could block the program in open or feed it
    // forever, so it is refused with kNotRegularFile, and a folder with the system's code for
    // a folder (EISDIR; ERROR_ACCESS_DENIED on Windows). Opening never waits for a writer.
    int Open(std::u16string_view path);
    // Opens `path`, which a folder listing just found to be a regular file of `listedBytes`
    // (kUnlisted where the listing gave no size), without asking its type again: natively that
    // would be a second stat per file. While the file delivers exactly its listed length that
    // stands as the check; one that delivers another length, or without a listed size one that
    // fills a whole read, is asked once whether it is still a regular file, and if it is not,
    // Read ends and Refused says so: a device put in its place cannot feed the program
    // forever. On Windows the same as Open, whose type check costs no look at the disk.
    int OpenListed(std::u16string_view path, std::uint64_t listedBytes);
    static constexpr std::uint64_t kUnlisted = UINT64_MAX;
    // Reads up to `size` bytes; returns how many arrived. A failed read counts as the end.
    // Fewer bytes than asked mean the end of the file: a regular file delivers less only
    // there (POSIX; ReadFile on a disk file), so one read takes a small file whole.
    std::size_t Read(void* buffer, std::size_t size);
    // Closes the file; returns 0 or the system's error code.
    int Close();
    // kNotRegularFile when a file opened by OpenListed turned out to be no regular file, else 0.
    int Refused() const { return refused_ ? kNotRegularFile : 0; }

    // The code Open returns for what is neither a regular file nor a folder: EOPNOTSUPP, or
    // ERROR_NOT_SUPPORTED on Windows.
    static const int kNotRegularFile;

  private:
    void* handle_ = nullptr;  // a HANDLE on Windows, the descriptor + 1 on POSIX
    bool open_ = false;
    bool unverified_ = false;  // opened by OpenListed, type not asked yet
    bool refused_ = false;
    std::uint64_t listedBytes_ = 0;
    std::uint64_t delivered_ = 0;
};

// True exactly when both open files deliver the same bytes and end at the same point; a read
// that fails counts as the end of that file. Stops at the first difference. `buffer` is scratch
// space, grown to two blocks on first use.
bool SameContents(FileReader& a, FileReader& b, std::vector<std::uint8_t>& buffer);

enum class PathKind { kMissing, kFile, kFolder, kOther };

// What `path` names, links followed: a regular (disk) file, a folder, something else (a pipe,
// a device, a socket, or a path the system will not look into), or nothing.
PathKind KindOfPath(std::u16string_view path);

}  // namespace ko
