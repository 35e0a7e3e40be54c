#include "kestrel/app/status_bar_texts.h"

#include <gtest/gtest.h>

#include "kestrel/engine/view_geometry.h"

namespace kestrel::app {
namespace {

TEST(StatusBarTexts, FieldsShowTheStateAndTheDimensionsOnTheStatesColour) {
    const StatusValues values{2, 512, 8192, 12, 7, 31};
    const std::u16string fields[] = {u"照合不一致",        u"MemorySize_W=512",
                                     u"MemorySize_H=8192", u"表示フォントの高さ=12",
                                     u"行数=7/8192",       u"スクロール数=31"};
    for (int field = 0; field < kStatusFieldCount; ++field)
        EXPECT_EQ(StatusFieldText(field, values), fields[field]);
    const std::pair<const char16_t*, std::uint32_t> states[] = {
        {u"不明", ColourOf(200, 200, 200)},
        {u"照合前", ColourOf(255, 255, 255)},
        {u"照合一致", ColourOf(0, 255, 0)},
        {u"照合不一致", ColourOf(255, 0, 0)},
        {u"不明", ColourOf(200, 200, 200)}};
    for (int state = -1; state <= 3; ++state) {
        EXPECT_EQ(StatusFieldText(0, {state}), states[state + 1].first) << state;
        EXPECT_EQ(StatusBarColour(state), states[state + 1].second) << state;
    }
    // Extreme values still fit the field's buffer.
    constexpr int kMin = -2147483647 - 1;
    EXPECT_EQ(StatusFieldText(4, {0, kMin, kMin, kMin, kMin, kMin}),
              u"行数=-2147483648/-2147483648");
}

}  // namespace
}  // namespace kestrel::app
