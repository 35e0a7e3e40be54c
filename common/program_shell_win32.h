// What the main windows of both programs do alike: the message loop, opening the manual and the
// about box.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "common/report.h"
#include "common/work_area.h"

namespace ko {

struct ScreenSize {
    int width;
    int height;
};

// Registers the main window class both programs use: redraw on either resize and a
// byte-aligned client area, the program's icon in both sizes, the arrow cursor, a white
// background and the class menu. A class already registered by this process counts as done (a
// test makes several windows). Returns the screen's size in pixels, or nullopt on failure.
std::optional<ScreenSize> RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure,
                                                  int icon_id, int menu_id,
                                                  const char16_t* class_name);

// `wanted`, the main window's rectangle in screen pixels, fitted into the work area of the
// monitor it lies on (FitIntoWorkArea): the taskbar stays on top of every window and would
// cover the window's bottom (Kestrel's status bar) or its top.
ScreenRect FitIntoMonitorWorkArea(const ScreenRect& wanted);

// The row both main windows carry at their top: per side a "選" button (30 x 22, default push
// button) and a path box (bordered multi-line edit with automatic scrolling), side A in the
// left half of `screen_width`, side B from its middle on. Ids in side order. False when a
// control could not be made.
struct SideRowIds {
    int select[2];
    int path_box[2];
};
bool CreateSideRows(HWND parent, HINSTANCE instance, int screen_width, const SideRowIds& ids,
                    HWND (&select_buttons)[2], HWND (&path_boxes)[2]);

// COM on the calling thread for as long as the program runs, apartment-threaded as the shell
// wants it: the folder browser, the open-file dialog and ShellExecuteW may load shell
// extensions, which are COM objects. Freed again only when it was set up here.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

// What both main window procedures do with the messages they leave to the default: the quiet
// ones (the quit message, menu and palette notices) answer 0, a background erase counts as done
// (every paint draws the whole client area), the rest goes to DefWindowProcW.
LRESULT DefaultMainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// WM_ACTIVATE of a main window, answered 0 without the default processing. That processing is
// what gives an activated window the keyboard focus on Windows, so this does it instead: on
// deactivation it remembers in `focused_child` the child of `window` that had the focus (null
// when none had), and on activation that is not to a minimised window it gives the focus back
// to that child while it still is one, or else to `window` itself.
LRESULT OnMainWindowActivate(HWND window, WPARAM wparam, HWND& focused_child);

// Invalidates the whole client area and paints it at once.
void RepaintNow(HWND window);

// Whether the user has a high-contrast theme on.
bool HighContrastOn();

// Gives status bar `bar` the background `colour`. In a high-contrast theme the bar keeps the
// theme's own background instead: its text is always drawn in the theme's text colour, which
// a fixed light background can swallow (white on white), while the theme's pair reads.
void SetStatusBarColour(HWND bar, COLORREF colour, bool high_contrast);

// Looks for a waiting message without removing it, then gets, translates and dispatches it;
// waits when none is there. Returns the exit code the quit message carries.
int RunMessageLoop();

// Shows the main window `window` with the program's `show_command` and runs the message loop
// until it quits. Returns the quit message's exit code, or 0 when there is no window.
int ShowAndRun(HWND window, int show_command);

// Asks the shell to "open" the file `manual` of `startup_dir`, by its full path: the open-file
// dialog moves the current directory, where a bare name would then be looked for. When the
// shell cannot, shows "<manual>が見つかりません。" under "残念！" with only an OK button, owned by
// `window`.
void OpenManual(HWND window, std::u16string_view startup_dir, std::u16string_view manual,
                Reporter& reporter);

struct AboutBoxIds {
    int template_id;
    int file_name;  // static text that reads "ファイル名：" and the program's title
    int close;      // "閉じる"
};

// Runs the about box modally over `owner`. Returns 1 when closed by its button, 0 when closed
// by the close box or the system menu; Enter and Esc leave it open.
INT_PTR RunAboutBox(HINSTANCE instance, HWND owner, const AboutBoxIds& ids,
                    std::u16string_view program_title);

}  // namespace ko
