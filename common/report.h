// The one way both programs tell the user something: a modal message box in the programs, a
// line on stderr in the console programs, a recorder in tests. Styles and answers use the
// platform's message-box values so the Win32 side passes them through unchanged.
#pragma once

#include <string_view>

namespace ko {

namespace box {
constexpr unsigned kOk = 0x00;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconWarning = 0x30;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace box

// An opaque owner window (an HWND in the programs); null means a box without owner.
using OwnerWindow = void*;

class Reporter {
  public:
    virtual ~Reporter() = default;
    // Shows `text` under `caption` and returns the answer (box::kAnswerOk, kAnswerYes, ...).
    virtual int Show(OwnerWindow owner, std::u16string_view text, std::u16string_view caption,
                     unsigned style) = 0;
};

// Writes "caption: text" as UTF-8 lines to stderr and answers OK (No to a yes/no question).
class StderrReporter final : public Reporter {
  public:
    int Show(OwnerWindow owner, std::u16string_view text, std::u16string_view caption,
             unsigned style) override;
};

}  // namespace ko
