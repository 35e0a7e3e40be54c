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
    // Reads up to `size` bytes; returns how many arrived. A failed read counts as the end.
    std::size_t Read(void* buffer, std::size_t size);
    // Reads until `size` bytes arrived or the file ended.
    std::size_t ReadFully(void* buffer, std::size_t size);
    // Closes the file; returns 0 or the system's error code.
    int Close();

    // Compares two files that were not read from yet through read-only mappings, 2 MiB of
    // each at a time, and skips what they share from their start: returns the number of bytes
    // skipped, whole windows up to the shorter file's length, and Read goes on behind them in
    // both. The window that differs and the rest are left to Read. A file that turns out
    // shorter than its size said stops the skipping where it ended: touching a mapping past
    // the end of its file is guarded, not fatal. One thread at a time. Returns 0 and skips
    // nothing where nothing is mapped: on Windows, and below one window.
    static std::uint64_t SkipEqualStart(FileReader& a, FileReader& b);

    // The code Open returns for what is neither a regular file nor a folder: EOPNOTSUPP, or
    // ERROR_NOT_SUPPORTED on Windows.
    static const int kNotRegularFile;

  private:
    void* handle_ = nullptr;  // a HANDLE on Windows, the descriptor + 1 on POSIX
    bool open_ = false;
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
