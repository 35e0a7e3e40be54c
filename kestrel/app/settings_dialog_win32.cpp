#include "kestrel/app/settings_dialog_win32.h"

#include "common/dialog_text_win32.h"
#include "common/number_reading.h"
#include "common/range_check.h"
#include "common/settings_dialog_frame_win32.h"
#include "common/text.h"
#include "common/win32_text.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app {

namespace {

constexpr ko::SettingsDialogIds kIds{
    IDD_SETTINGS,
    IDC_SETTINGS_OK,
    IDC_SETTINGS_CANCEL,
    {IDC_SETTINGS_GROUP_NAME, IDC_SETTINGS_GROUP_NUMBER, IDC_SETTINGS_EDIT_GROUPS},
    {IDD_GROUP_EDITOR, IDC_GROUP_EDITOR_POSITION, IDC_GROUP_EDITOR_GROUP_NO,
     IDC_GROUP_EDITOR_ITEM_NAME, IDC_GROUP_EDITOR_DISPLAY_TEXT, IDC_GROUP_EDITOR_SEARCH_PATTERN,
     IDC_GROUP_EDITOR_OK, IDC_GROUP_EDITOR_CANCEL, IDC_GROUP_EDITOR_PREVIOUS,
     IDC_GROUP_EDITOR_NEXT}};

// The newline combo box's entries; the leading digit of each is the kaimode it stands for.
constexpr const char16_t* kNewlineEntries[] = {u"0_CR+LF", u"1_LF", u"2_CR"};

struct SizeField {
    int id;
    std::size_t characters;  // how much of the box is read
    ko::NumberLimits limits;
    std::int32_t ko::Settings::*value;
};

// In the order they are applied, which is the order of their range messages.
constexpr SizeField kSizeFields[] = {
    {IDC_SETTINGS_COLUMNS, 4, {64, 1024}, &ko::Settings::dtxlength_max},
    {IDC_SETTINGS_ROWS, 5, {256, 65536}, &ko::Settings::dtylength_max},
    {IDC_SETTINGS_FONT_HEIGHT, 2, {6, 48}, &ko::Settings::draw_font_height},
};

void FillNewlineCodes(HWND dialog, int kaimode) {
    const HWND combo = GetDlgItem(dialog, IDC_SETTINGS_NEWLINE);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const char16_t* entry : kNewlineEntries)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ko::AsWide(entry)));
    // A kaimode the list lacks selects nothing, which also leaves the field empty.
    const bool listed = kaimode >= 0 && kaimode < static_cast<int>(std::size(kNewlineEntries));
    SendMessageW(combo, CB_SETCURSEL, listed ? kaimode : -1, 0);
}

void FillSizesAndNewlineCode(HWND dialog, const ko::Settings& settings) {
    for (const SizeField& field : kSizeFields)
        ko::SetDialogItemText(dialog, field.id, ko::Format(u"%d", {settings.*field.value}));
    FillNewlineCodes(dialog, settings.kaimode);
}

// Stores every size, reporting each out of its range once, in field order, and the newline
// code. A changed size only takes effect after a restart, hence the flag; the row pitch applies
// at once.
void StoreSizesAndNewlineCode(HWND dialog, ko::Settings& settings, int& restart_flag,
                              ko::Reporter& reporter) {
    for (const SizeField& field : kSizeFields) {
        const int value = ko::ReadNumberWithin(ko::DialogItemText(dialog, field.id),
                                               field.characters, field.limits, reporter, dialog);
        if (value != settings.*field.value) restart_flag = 1;
        settings.*field.value = value;
    }
    settings.rowPitch = settings.draw_font_height + 2;
    settings.kaimode = ko::ReadLeadingNumber(ko::DialogItemText(dialog, IDC_SETTINGS_NEWLINE), 1);
}

}  // namespace

INT_PTR RunSettingsDialog(HWND owner, ko::Settings& settings, int& restart_flag,
                          ko::Reporter& reporter) {
    return ko::RunSettingsDialogFrame(
        owner, kIds, settings, reporter,
        [&](HWND dialog) { FillSizesAndNewlineCode(dialog, settings); },
        [&](HWND dialog) { StoreSizesAndNewlineCode(dialog, settings, restart_flag, reporter); });
}

}  // namespace kestrel::app
