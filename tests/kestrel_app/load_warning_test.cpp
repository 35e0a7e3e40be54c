// The warning box after a load that could not keep the whole file.
#include <windows.h>

#include "common/text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/load_warning.h"
#include "tests/kestrel_app/window_fixture.h"

namespace kestrel::app::testing {
namespace {

using LoadWarning = KestrelWindowTest;

TEST_F(LoadWarning, EachSideThatDidNotFitGetsOneBoxBeforeTheUnchangedOutcome) {
    WriteSettings("dtxlength_max=5\r\n");
    const std::u16string a = WriteFile("a.txt", "abcdefX"), b = WriteFile("b.txt", "abcdefY");
    std::copy(a.begin(), a.end(), App().commandLine.a);
    std::copy(b.begin(), b.end(), App().commandLine.b);
    ASSERT_NE(Create(), nullptr);
    FireStartupTimer();
    auto warning = [&](const std::u16string& path) {
        return ko::testing::ShownMessage{window_, ko::Format(kCutLoadText, {path, 8192, 5}),
                                         std::u16string(kCutLoadCaption), ko::box::kIconWarning};
    };
    ASSERT_EQ(reporter_.shown.size(), 3u);
    EXPECT_EQ(reporter_.shown[0], warning(a));
    EXPECT_EQ(reporter_.shown[1], warning(b));
    EXPECT_EQ(reporter_.shown[2].text, u"一致しました");
}

}  // namespace
}  // namespace kestrel::app::testing
