// The shell's folder browser as the program runs it.
#include "osprey/app/folder_browser_win32.h"

#include <gmock/gmock.h>

#include "tests/dialogs/dialog_driver.h"
#include "tests/osprey_app/osprey_window_fixture.h"
#include "tests/support/temp_dir.h"

namespace osprey::app::testing {
namespace {

using ::testing::Contains;

std::optional<std::u16string> BrowseAndAnswer(std::u16string_view initial, int button,
                                              std::vector<std::u16string>* texts = nullptr) {
    std::optional<std::u16string> chosen;
    WhenDialogShows(
        nullptr,
        [&] {
            chosen = SystemFolderBrowser().Browse(initial);
            return INT_PTR{0};
        },
        [&](HWND browser) {
            if (texts) *texts = StaticTexts(browser);
            SendMessageW(browser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(browser, button)));
        });
    return chosen;
}

TEST(SystemFolderBrowser, OpensOnTheSidesFolderUnderItsTitleAndReturnsTheConfirmedFolder) {
    ko::testing::TempDir temp;
    const std::filesystem::path folder = temp.path() / "sources";
    std::filesystem::create_directories(folder);
    std::vector<std::u16string> texts;
    // The folder as the settings keep it, with a separator at the end.
    const auto chosen = BrowseAndAnswer(folder.u16string() + u"\\", IDOK, &texts);
    EXPECT_THAT(texts, Contains(u"フォルダを選択"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder.u16string());
}

TEST(SystemFolderBrowser, CancelReturnsNothing) {
    ko::testing::TempDir temp;
    EXPECT_FALSE(BrowseAndAnswer(temp.path().u16string(), IDCANCEL).has_value());
}

}  // namespace
}  // namespace osprey::app::testing
