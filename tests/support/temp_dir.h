// A fresh folder under the system's temporary folder for one test, removed afterwards, with
// helpers to write files into it. Paths are UTF-16 like everywhere in the programs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ko::testing {

// A path as the programs take it: UTF-16, with the platform's separators.
inline std::u16string PathText(const std::filesystem::path& path) {
    return path.u16string();
}

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to `name` inside the folder and returns the file's full path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const;
    std::u16string WriteU16(std::string_view name, std::string_view bytes) const {
        return PathText(Write(name, bytes));
    }

  private:
    std::filesystem::path path_;
};

}  // namespace ko::testing
