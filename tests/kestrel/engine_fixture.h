// An engine of a chosen size whose sides are loaded from byte strings written to a temporary
// folder, with every message box recorded.
#pragma once

#include <string>
#include <vector>

#include "kestrel/engine/comparison.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/file_loader.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace kestrel::testing {

class EngineFixture {
  public:
    explicit EngineFixture(int columns = 512, int rows = 8192) {
        engine.Allocate(columns, rows, reporter, nullptr);
        engine.grids.set_reporter(&reporter);
    }

    LoadOutcome Load(int side, const std::string& bytes, int kaimode = 0) {
        const std::u16string path = dir.WriteU16(side == 0 ? "a.txt" : "b.txt", bytes);
        return LoadSide(engine, side, path, kaimode, reporter, nullptr);
    }

    // Loads both sides from lines joined by LF (code 1) and compares them.
    AlignedCounts CompareLines(const std::vector<std::string>& a,
                               const std::vector<std::string>& b) {
        Load(0, Join(a), 1);
        Load(1, Join(b), 1);
        return CompareSides(engine, reporter);
    }

    static std::string Join(const std::vector<std::string>& lines) {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i ? "\n" : "") + lines[i];
        return text;
    }

    std::u16string RowText(int grid, int row) const {
        return std::u16string(engine.grids.Row(grid, row), engine.grids.memwcslen(grid, row));
    }
    // The colour codes of a row as a narrow string ("0", "1", "2", "." for a 0 cell) over the
    // length of the working row beside it.
    std::string Codes(int side, int row) const {
        const int length = engine.grids.memwcslen(WorkingGrid(side), row);
        std::string codes;
        for (int c = 0; c < length; ++c) {
            const char16_t code = engine.grids.Row(ColourGrid(side), row)[c];
            codes += code == 0 ? '.' : static_cast<char>(code);
        }
        return codes;
    }

    ko::testing::RecordingReporter reporter;
    ko::testing::TempDir dir;
    Engine engine;
};

}  // namespace kestrel::testing
