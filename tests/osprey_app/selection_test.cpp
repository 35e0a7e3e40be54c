// The highlight of the row chosen in each list, which follows clicks only.
#include <windows.h>

#include <commctrl.h>

#include "tests/osprey_app/osprey_window_fixture.h"

namespace osprey::app::testing {
namespace {

constexpr UINT kMarks = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;

class SelectionTest : public OspreyWindowTest {
  protected:
    void SetUp() override {
        OspreyWindowTest::SetUp();
        ChooseFolderWithFiles();
    }

    void ChooseFolderWithFiles() {
        OpenWindow();
        const std::u16string a = MakeFolder("a", {{"a.cpp", "1"}, {"b.h", "2"}, {"c.rc", "3"}});
        const std::u16string b = MakeFolder("b", {{"a.cpp", "1"}, {"b.h", "2"}, {"c.rc", "3"}});
        ChooseFolder(kSideA, a);
        ChooseFolder(kSideB, b);
        ASSERT_EQ(RowCount(kSideA), 3);
    }

    bool Highlighted(int side, int row) const {
        return State(side, row, LVIS_DROPHILITED) == LVIS_DROPHILITED;
    }
};

TEST_F(SelectionTest, AClickedRowStaysHighlightedWhileTheUserChoosesInTheOtherList) {
    ClickRow(kSideA, 1);
    EXPECT_EQ(State(kSideA, 1, kMarks), kMarks);
    EXPECT_EQ(State(kSideA, 0, kMarks), 0u);
    EXPECT_EQ(State(kSideA, 2, kMarks), 0u);

    ClickRow(kSideB, 2);
    EXPECT_EQ(State(kSideB, 2, kMarks), kMarks);
    EXPECT_TRUE(Highlighted(kSideA, 1));  // the other list is not touched
    EXPECT_FALSE(Highlighted(kSideB, 1));
}

TEST_F(SelectionTest, KeyboardMovesTheSelectionButNotTheHighlightUntilTheNextClick) {
    ClickRow(kSideA, 0);
    PressKeyInList(kSideA, VK_DOWN);
    EXPECT_EQ(State(kSideA, 1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_TRUE(Highlighted(kSideA, 0));
    EXPECT_FALSE(Highlighted(kSideA, 1));

    ClickRow(kSideA, 2);
    EXPECT_FALSE(Highlighted(kSideA, 0));
    EXPECT_FALSE(Highlighted(kSideA, 1));
    EXPECT_EQ(State(kSideA, 2, kMarks), kMarks);
}

}  // namespace
}  // namespace osprey::app::testing
