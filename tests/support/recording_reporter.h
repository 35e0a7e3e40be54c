// A reporter for tests: remembers every message box and answers from a queue (OK, or the
// queued answers in order).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/report.h"

namespace ko::testing {

struct ShownMessage {
    OwnerWindow owner;
    std::u16string text;
    std::u16string caption;
    unsigned style;
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

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
};

}  // namespace ko::testing
