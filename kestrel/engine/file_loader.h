// Loading one side: open the file, recognise its encoding by its signature, cut it into lines
// by the newline code, decode each line and store it in the side's loaded grid.
#pragma once

#include <string_view>

#include "common/report.h"
#include "kestrel/engine/engine.h"

namespace kestrel {

enum class LoadOutcome {
    kNoPath,      // the path was empty: "Please set the file name" was shown, nothing changed
    kOpenFailed,  // the file could not be opened: reported, the side keeps its previous file
    kLoaded,      // the side holds the file (also after a failed close, which is reported)
    // Memory ran out: reported like a failed grid allocation; the side holds the lines stored
    // so far.
    kOutOfMemory,
};

// What of a loaded file the grid could not hold, counted in lines (a line of more than 512
// units counts once per 512-unit piece), and the lines it could not decode. Only a file that
// Fits() is compared whole; only one with no undecodable line is shown as its bytes say.
struct LoadCuts {
    long long pastLastRow = 0;  // lines that replaced the last row's earlier line
    long long atColumns = 0;    // lines longer than the grid is wide, cut at its last column
    long long atNul = 0;        // lines with a NUL, cut there (the NUL and what follows)
    long long oddLastByte = 0;  // 1 when a UTF-16 file ends in half a unit, which is dropped
    // Lines with bytes that are no character in the file's encoding: the decoder put its
    // replacement (U+FFFD) or default character (U+30FB) in, so different bytes may read the
    // same.
    long long undecodable = 0;
    // Lines with a character written under a second code of the code page (see
    // SecondCodeInCodePage932): read correctly, but different bytes read the same.
    long long secondCodes = 0;

    bool Fits() const {
        return pastLastRow == 0 && atColumns == 0 && atNul == 0 && oddLastByte == 0;
    }
    friend bool operator==(const LoadCuts&, const LoadCuts&) = default;
};

// Lines end by the newline code `kaimode`: 0 CR LF, 1 LF, 2 CR, anything else never. A line
// is at most 512 units; a longer one continues as the next line. Lines beyond the grid's
// last row replace that row, so it ends up with the file's final line. Messages are owned by
// `owner`. The compare state becomes 0 once the file was opened. `cuts` tells what did not
// fit; it is all 0 unless the outcome is kLoaded.
LoadOutcome LoadSide(Engine& engine, int side, std::u16string_view path, int kaimode,
                     ko::Reporter& reporter, ko::OwnerWindow owner, LoadCuts& cuts);

inline LoadOutcome LoadSide(Engine& engine, int side, std::u16string_view path, int kaimode,
                            ko::Reporter& reporter, ko::OwnerWindow owner) {
    LoadCuts ignored;
    return LoadSide(engine, side, path, kaimode, reporter, owner, ignored);
}

// Shows "Please set the file name" under "Failure" when `path` is empty; true when it is not.
bool RequirePath(std::u16string_view path, ko::Reporter& reporter, ko::OwnerWindow owner);

}  // namespace kestrel
