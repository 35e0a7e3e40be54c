#include "kestrel/app/status_bar_texts.h"

#include "common/text.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/view_geometry.h"

namespace kestrel::app {

namespace {

const char16_t* CompareStateText(int compareState) {
    switch (compareState) {
        case kNotCompared:
            return u"照合前";
        case kMatched:
            return u"照合一致";
        case kDiffered:
            return u"照合不一致";
        default:
            return u"不明";
    }
}

}  // namespace

std::u16string StatusFieldText(int field, const StatusValues& values) {
    std::u16string text;
    switch (field) {
        case kStateField:
            text = CompareStateText(values.compareState);
            break;
        case kColumnsField:
            text = ko::Format(u"MemorySize_W=%d", {values.columns});
            break;
        case kRowsField:
            text = ko::Format(u"MemorySize_H=%d", {values.rows});
            break;
        case kFontHeightField:
            text = ko::Format(u"表示フォントの高さ=%d", {values.fontHeight});
            break;
        case kTopRowField:
            text = ko::Format(u"行数=%d/%d", {values.topRow, values.rows});
            break;
        case kScrollStepField:
            text = ko::Format(u"スクロール数=%d", {values.scrollStep});
            break;
        default:
            break;
    }
    return ko::CutText(text, kStatusTextUnits - 1);
}

std::uint32_t StatusBarColour(int compareState) {
    switch (compareState) {
        case kNotCompared:
            return ColourOf(255, 255, 255);
        case kMatched:
            return ColourOf(0, 255, 0);
        case kDiffered:
            return ColourOf(255, 0, 0);
        default:
            return ColourOf(200, 200, 200);
    }
}

}  // namespace kestrel::app
