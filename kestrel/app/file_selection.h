// Choosing file A or file B in the open-file dialog: the dialog opens in the folder the side's
// last file came from, offers the selected extension group's rows as file types, and the
// chosen file's folder is remembered in the settings. The dialog itself sits behind
// OpenFileDialog so tests can answer it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/report.h"
#include "common/settings.h"

namespace kestrel::app {

constexpr int kFileNameUnits = 780;  // the dialog's file-name buffer
constexpr int kFilterUnits = 260;    // the file-type list, its final 0 unit included
// Explorer-style dialog that allows several files: it insists on nothing existing.
constexpr unsigned kOpenFileFlags = 0x00080200;

// Everything the dialog is asked with, and what it answers.
struct OpenFileRequest {
    ko::OwnerWindow owner = nullptr;
    // Pairs of display text and pattern, each ending in a 0 unit, then one more 0 unit.
    char16_t filter[kFilterUnits] = {};
    // In: the folder to open in followed by the initial file name. Out: the chosen path, or
    // the folder, a 0 unit and each chosen name when several were chosen.
    char16_t file[kFileNameUnits] = {};
    const char16_t* title = nullptr;
    unsigned flags = kOpenFileFlags;
    int fileOffset = 0;  // out: units in `file` before the (first) chosen name
};

class OpenFileDialog {
  public:
    virtual ~OpenFileDialog() = default;
    // Shows the dialog modally; true when the user confirmed a choice, which is then in
    // request.file and request.fileOffset. False on cancel or failure.
    virtual bool Show(OpenFileRequest& request) = 0;
};

// Fills `request` for `side` (0 or 1): the side's remembered folder with a backslash and the
// first pattern of the selected group as the initial file name, the group's rows as file
// types (cut after the last entry that still fits 260 units), the side's title and the flags.
void PrepareOpenFileRequest(const ko::Settings& settings, int side, ko::OwnerWindow owner,
                            OpenFileRequest& request);

// Takes the dialog's answer for `side`: remembers its folder part (the first fileOffset units,
// with a backslash appended when missing) in the side's folder setting and returns the text
// for the path box. Returns nothing and changes nothing when the folder part does not fit a
// path (260 units or more).
std::optional<std::u16string> AcceptChosenFile(const OpenFileRequest& answer, int side,
                                               ko::Settings& settings);

// A file dropped on `side`'s half counts as chosen in the dialog: its folder part (up to its
// last backslash) is remembered as AcceptChosenFile remembers it. A path without a backslash,
// or one too long for the dialog's buffer, changes nothing.
void RememberFolderOf(std::u16string_view path, int side, ko::Settings& settings);

// The whole choice for `side`: an invalid side shows "Wrong mode selection" under "Failure"
// (error icon, owned by `owner`) and nothing else happens; otherwise the dialog is shown and a
// confirmed choice is taken. Returns the text for the side's path box, or nothing when that
// box is to keep its text.
std::optional<std::u16string> SelectFile(ko::OwnerWindow owner, int side, ko::Settings& settings,
                                         OpenFileDialog& dialog, ko::Reporter& reporter);

}  // namespace kestrel::app
