// Kestrel's main window made inside the test process, in a fresh folder of its own, with the
// message boxes recorded and the open-file dialog scripted. Helpers drive it with messages and
// read back what a user would see: path boxes, status bar, pixels.
#pragma once

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/kestrel_app/scripted_file_dialog.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace kestrel::app::testing {

// A picture of the client area, one 0x00BBGGRR value per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // How many pixels of the rectangle have `colour`.
    int Count(int x, int y, int w, int h, std::uint32_t colour) const;
    // How many pixels of the rectangle are anything but `colour`.
    int CountOther(int x, int y, int w, int h, std::uint32_t colour) const;
};

class KestrelWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes kestrel.ini into the test's folder: the section header and `lines` (key=value,
    // one per line), read by the next Create().
    void WriteSettings(std::string_view lines) const;
    // Writes a file of `bytes` into the test's folder and returns its Windows path.
    std::u16string WriteFile(std::string_view name, std::string_view bytes) const;
    // Creates the main window as the program does (hidden, the start-up timer stopped so the
    // test fires it); null when creation failed.
    HWND Create();
    void Destroy();

    LRESULT Command(int id) const { return SendMessageW(window_, WM_COMMAND, id, 0); }
    void Key(WPARAM key) const { SendMessageW(window_, WM_KEYDOWN, key, 0); }
    void Wheel(int distance) const {
        SendMessageW(window_, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(distance)), 0);
    }
    void FireStartupTimer() const { SendMessageW(window_, WM_TIMER, 1, 0); }
    // Compares two files by typing their paths into the boxes and choosing 比較.
    void LoadBoth(const std::u16string& a, const std::u16string& b);

    std::u16string PathBox(int side) const;
    void SetPathBox(int side, const std::u16string& text) const;
    std::u16string StatusText(int field) const;
    std::uint32_t StatusColour() const;
    // The client area as WM_PRINTCLIENT draws it.
    Picture Render() const;
    // The same through the status bar's own drawing.
    Picture RenderStatusBar() const;
    // One pixel of a side's back buffer.
    std::uint32_t BackBufferPixel(int side, int x, int y) const;

    std::u16string Folder() const { return ko::testing::PathText(dir_.path()); }
    std::vector<std::u16string> Texts() const;  // texts of the recorded message boxes

    ko::testing::TempDir dir_;
    ko::testing::RecordingReporter reporter_;
    ScriptedFileDialog dialog_;
    HWND window_ = nullptr;

  private:
    std::u16string previous_directory_;
};

// Runs `step` every 50 ms from inside whatever modal loop the thread is in (a dialog or a
// message box of the code under test) until it returns true or 10 s have passed.
void DriveModalLoop(std::function<bool()> step);

// The top-level dialog window of this thread titled `title`, or null.
HWND FindDialog(const wchar_t* title);

}  // namespace kestrel::app::testing
