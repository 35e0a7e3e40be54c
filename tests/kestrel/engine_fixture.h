// An engine of a chosen size whose sides are loaded from byte strings written to a temporary
// folder, with every message box recorded.
#pragma once

#include <string>
#include <vector>

#include "kestrel/engine/comparison.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/file_loader.h"
#include "tests/kestrel/literal_engine.h"
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

    std::u16string RowText(int grid, int row) const {
        return std::u16string(engine.grids.Row(grid, row), engine.grids.memwcslen(grid, row));
    }

    // Each working row up to the larger aligned count as "text A:codes A|text B:codes B", the
    // codes over the text's length.
    std::vector<std::string> AlignedRows(const AlignedCounts& counts) const {
        std::vector<std::string> rows;
        for (int row = 0; row < std::max(counts.a, counts.b); ++row) {
            std::string text;
            for (int side = 0; side < 2; ++side) {
                const std::u16string units = RowText(WorkingGrid(side), row);
                text.append(side == 0 ? "" : "|").append(units.begin(), units.end()) += ':';
                for (std::size_t c = 0; c < units.size(); ++c)  // "." for a 0 cell
                    text += static_cast<char>(
                        std::max(engine.grids.Row(ColourGrid(side), row)[c], u'.'));
            }
            rows.push_back(text);
        }
        return rows;
    }

    // Whether `grid` holds exactly the cells of `expected`, its spare units still 0.
    bool Holds(int grid, const literal::Grid& expected) const {
        std::vector<char16_t> cells = expected.cells;
        cells.resize(cells.size() + kSpareBytes / 2, u'\0');
        return std::equal(cells.begin(), cells.end(),
                          reinterpret_cast<const char16_t*>(engine.grids.Bytes(grid)));
    }

    ko::testing::RecordingReporter reporter;
    ko::testing::TempDir dir;
    Engine engine;
};

}  // namespace kestrel::testing
