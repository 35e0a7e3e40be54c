// A reporter for tests: remembers every message box and answers from a queue (OK, or the
// queued answers in order).
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "common/report.h"
#include "common/text.h"

namespace ko::testing {

struct ShownMessage {
    OwnerWindow owner;
    std::u16string text, caption;
    unsigned style;

    bool operator==(const ShownMessage&) const = default;
    friend void PrintTo(const ShownMessage& m, std::ostream* out) {
        *out << "{\"" << Utf16ToUtf8(m.text) << "\", \"" << Utf16ToUtf8(m.caption) << "\", style "
             << m.style << ", owner " << m.owner << "}";
    }
};

class RecordingReporter final : public Reporter {
  public:
    int Show(OwnerWindow owner, std::u16string_view text, std::u16string_view caption,
             unsigned style) override {
        shown.push_back({owner, std::u16string(text), std::u16string(caption), style});
        if (answers.empty()) return box::kAnswerOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const ShownMessage& message : shown)
            texts.push_back(message.text);
        return texts;
    }

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
};

}  // namespace ko::testing
