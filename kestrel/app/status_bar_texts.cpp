#include "kestrel/app/status_bar_texts.h"

#include "common/text.h"
#include "kestrel/engine/view_geometry.h"

namespace kestrel::app {

namespace {

const char16_t* CompareStateText(int compareState) {
    switch (compareState) {
        case 0:
            return u"照合前";
        case 1:
            return u"照合一致";
        case 2:
            return u"照合不一致";
        default:
            return u"不明";
    }
}

}  // namespace

std::u16string StatusFieldText(int field, const StatusValues& values) {
    std::u16string text;
    switch (field) {
        case 0:
            text = CompareStateText(values.compareState);
            break;
        case 1:
            text = ko::Format(u"MemorySize_W=%d", {values.columns});
            break;
        case 2:
            text = ko::Format(u"MemorySize_H=%d", {values.rows});
            break;
        case 3:
            text = ko::Format(u"表示フォントの高さ=%d", {values.fontHeight});
            break;
        case 4:
            text = ko::Format(u"行数=%d/%d", {values.topRow, values.rows});
            break;
        case 5:
            text = ko::Format(u"スクロール数=%d", {values.scrollStep});
            break;
        default:
            break;
    }
    return ko::CutText(text, kStatusTextUnits - 1);
}

std::uint32_t StatusBarColour(int compareState) {
    switch (compareState) {
        case 0:
            return ColourOf(255, 255, 255);
        case 1:
            return ColourOf(0, 255, 0);
        case 2:
            return ColourOf(255, 0, 0);
        default:
            return ColourOf(200, 200, 200);
    }
}

}  // namespace kestrel::app
