// A reporter that answers every message box with OK and shows nothing: benchmarks time the
// work, not the messages.
#pragma once

#include "common/report.h"

namespace ko::bench {

class SilentReporter final : public Reporter {
  public:
    int Show(OwnerWindow, std::u16string_view, std::u16string_view, unsigned) override {
        return box::kAnswerOk;
    }
};

}  // namespace ko::bench
