// The input of one fuzz run taken apart piece by piece, and the check that stops a run so
// libFuzzer keeps the input that broke a promise.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define KO_FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ko::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace ko::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
    std::abort();
}

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() { return static_cast<std::uint8_t>(Take(1).empty() ? 0 : last_[0]); }
    // The next `count` bytes, or as many as are left.
    std::string_view Take(std::size_t count) {
        last_ = rest_.substr(0, count);
        rest_.remove_prefix(last_.size());
        return last_;
    }
    // The bytes up to the next 0 byte (which is dropped), or all that are left.
    std::string_view Piece() {
        const std::size_t end = rest_.find('\0');
        const std::string_view piece = Take(end);
        Take(1);
        return piece;
    }
    std::string_view Rest() { return Take(rest_.size()); }

  private:
    std::string_view rest_, last_;
};

}  // namespace ko::fuzz
