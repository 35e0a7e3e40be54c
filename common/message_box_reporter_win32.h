// The programs' reporter: every report is a real MessageBoxW.
#pragma once

#include "common/report.h"

namespace ko {

class MessageBoxReporter final : public Reporter {
  public:
    int Show(OwnerWindow owner, std::u16string_view text, std::u16string_view caption,
             unsigned style) override;
};

}  // namespace ko
