#include "kestrel/app/status_bar_texts.h"

#include <gtest/gtest.h>

#include "kestrel/engine/view_geometry.h"

namespace kestrel::app {
namespace {

TEST(StatusBarTexts, DefaultsReadAsAfterAStartWithoutCommandLine) {
    const StatusValues values{0, 512, 8192, 12, 0, 31};
    EXPECT_EQ(StatusFieldText(0, values), u"照合前");
    EXPECT_EQ(StatusFieldText(1, values), u"MemorySize_W=512");
    EXPECT_EQ(StatusFieldText(2, values), u"MemorySize_H=8192");
    EXPECT_EQ(StatusFieldText(3, values), u"表示フォントの高さ=12");
    EXPECT_EQ(StatusFieldText(4, values), u"行数=0/8192");
    EXPECT_EQ(StatusFieldText(5, values), u"スクロール数=31");
}

TEST(StatusBarTexts, EachCompareStateHasItsTextAndColour) {
    StatusValues values;
    const struct {
        int state;
        const char16_t* text;
        std::uint32_t colour;
    } cases[] = {
        {0, u"照合前", ColourOf(255, 255, 255)}, {1, u"照合一致", ColourOf(0, 255, 0)},
        {2, u"照合不一致", ColourOf(255, 0, 0)}, {3, u"不明", ColourOf(200, 200, 200)},
        {-1, u"不明", ColourOf(200, 200, 200)},
    };
    for (const auto& c : cases) {
        values.compareState = c.state;
        EXPECT_EQ(StatusFieldText(0, values), c.text) << c.state;
        EXPECT_EQ(StatusBarColour(c.state), c.colour) << c.state;
    }
}

TEST(StatusBarTexts, ExtremeValuesStillFitTheFieldBuffer) {
    const StatusValues values{
        0, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1};
    for (int field = 0; field < kStatusFieldCount; ++field)
        EXPECT_LT(StatusFieldText(field, values).size(), std::size_t{kStatusTextUnits});
    EXPECT_EQ(StatusFieldText(4, values), u"行数=-2147483648/-2147483648");
}

}  // namespace
}  // namespace kestrel::app
