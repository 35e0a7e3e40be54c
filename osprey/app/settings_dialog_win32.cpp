#include "osprey/app/settings_dialog_win32.h"

#include "common/settings_dialog_frame_win32.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

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

}  // namespace

INT_PTR RunSettingsDialog(HWND owner, ko::Settings& settings, ko::Reporter& reporter) {
    // The extension group is Osprey's only setting of its own.
    return ko::RunSettingsDialogFrame(owner, kIds, settings, reporter, {}, {});
}

}  // namespace osprey::app
