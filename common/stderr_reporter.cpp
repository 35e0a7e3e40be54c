#include <cstdio>
#include <string>

#include "common/report.h"
#include "common/text.h"

namespace ko {

int StderrReporter::Show(OwnerWindow, std::u16string_view text, std::u16string_view caption,
                         unsigned style) {
    // A message text may carry CR LF line breaks; on a console a plain LF reads better.
    std::string line = Utf16ToUtf8(caption) + ": " + Utf16ToUtf8(text);
    std::string cleaned;
    for (char c : line)
        if (c != '\r') cleaned += c;
    std::fprintf(stderr, "%s\n", cleaned.c_str());
    std::fflush(stderr);
    return (style & 0x0F) == box::kYesNo ? box::kAnswerNo : box::kAnswerOk;
}

}  // namespace ko
