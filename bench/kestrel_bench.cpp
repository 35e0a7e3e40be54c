// Kestrel's speed goals on the default 512 x 8192 grid:
//   - two 4,096-line files whose lines all differ (510 characters + CR LF each): compare < 5 ms;
//   - two identical 8,191-line files: compare < 5 ms;
//   - two 10-line files on the largest grid: compare in microseconds, not a pass over the grid;
//   - loading an ASCII CR LF file: >= 500 MB/s, also a 1 GiB file that overflows the rows.
// Whole kestrel-cli runs against diff are timed by bench/compare.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/silent_reporter.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/file_loader.h"

namespace {

namespace fs = std::filesystem;

using ko::bench::SilentReporter;

fs::path BenchFolder() {
    const fs::path folder = fs::temp_directory_path() / "kestrel-bench";
    fs::create_directories(folder);
    return folder;
}

// `lines` lines of `width` characters + CR LF; every line distinct, and distinct from the
// lines of another `salt`.
fs::path WriteLines(const std::string& name, int lines, int width, int salt) {
    const fs::path path = BenchFolder() / name;
    if (fs::exists(path)) return path;
    std::ofstream out(path, std::ios::binary);
    std::string line;
    for (int i = 0; i < lines; ++i) {
        line = std::to_string(salt) + ":" + std::to_string(i) + ":";
        line.resize(width, static_cast<char>('a' + (i + salt) % 26));
        out << line << "\r\n";
    }
    return path;
}

// A file of about `bytes` bytes of 80-character ASCII lines with CR LF.
fs::path WriteBigFile(const std::string& name, std::size_t bytes) {
    const fs::path path = BenchFolder() / name;
    if (fs::exists(path) && fs::file_size(path) >= bytes) return path;
    std::ofstream out(path, std::ios::binary);
    std::string block;
    for (int i = 0; block.size() < (1 << 20); ++i) {
        std::string line = "line " + std::to_string(i) + " ";
        line.resize(78, static_cast<char>('a' + i % 26));
        block += line + "\r\n";
    }
    for (std::size_t written = 0; written < bytes; written += block.size())
        out << block;
    return path;
}

// The comparison as a user meets it: right after both files were loaded (loading is not
// timed), or again after a restore.
void CompareLoadedPair(benchmark::State& state, const fs::path& a, const fs::path& b,
                       int columns = 512, int rows = 8192) {
    SilentReporter reporter;
    kestrel::Engine engine;
    engine.Allocate(columns, rows, reporter, nullptr);
    const bool after_restore = state.range(0) == 1;
    auto load = [&] {
        kestrel::LoadSide(engine, 0, a.u16string(), 0, reporter, nullptr);
        kestrel::LoadSide(engine, 1, b.u16string(), 0, reporter, nullptr);
    };
    load();
    for (auto _ : state) {
        if (!after_restore) {
            state.PauseTiming();
            load();
            state.ResumeTiming();
        }
        engine.compareState = kestrel::kNotCompared;
        benchmark::DoNotOptimize(kestrel::CompareSides(engine, reporter));
    }
}

void BM_CompareAllLinesDiffer(benchmark::State& state) {
    CompareLoadedPair(state, WriteLines("differ-a.txt", 4096, 510, 1),
                      WriteLines("differ-b.txt", 4096, 510, 2));
}
BENCHMARK(BM_CompareAllLinesDiffer)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("after_restore")
    ->Arg(0)
    ->Arg(1);

void BM_CompareIdentical8191Lines(benchmark::State& state) {
    const fs::path file =
        WriteLines("same.txt", 8190, 510, 3);  // 8,190 lines + the final empty one
    CompareLoadedPair(state, file, file);
}
BENCHMARK(BM_CompareIdentical8191Lines)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("after_restore")
    ->Arg(0)
    ->Arg(1);

// The work follows the text, not the grid: two 10-line files on the largest grid the settings
// dialog allows (1,024 x 65,536, 768 MiB of grids).
void BM_CompareTenLinesOnTheLargestGrid(benchmark::State& state) {
    CompareLoadedPair(state, WriteLines("ten-a.txt", 10, 60, 4), WriteLines("ten-b.txt", 10, 60, 5),
                      1024, 65536);
}
BENCHMARK(BM_CompareTenLinesOnTheLargestGrid)
    ->Unit(benchmark::kMicrosecond)
    ->ArgName("after_restore")
    ->Arg(0)
    ->Arg(1);

// The floor under a whole run that fills `lines` rows of a `columns` x `rows` grid: the system
// handing out zeroed pages for those rows in the first `grids` grids (here one unit is written
// a row): all six for a comparison the view draws, the two loaded grids for loading alone.
void BM_FloorPagesForGridsOfRows(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0)), rows = static_cast<int>(state.range(1));
    const int lines = static_cast<int>(state.range(2)),
              grids_used = static_cast<int>(state.range(3));
    SilentReporter reporter;
    for (auto _ : state) {
        kestrel::TextGrids grids;
        grids.Allocate(columns, rows, reporter, nullptr);
        for (int grid = 0; grid < grids_used; ++grid) {
            grids.ExpectRows(grid, lines);
            for (int row = 0; row < lines; ++row)
                grids.StoreRow(grid, row, u"x", 1);
        }
    }
}
BENCHMARK(BM_FloorPagesForGridsOfRows)
    ->Unit(benchmark::kMillisecond)
    ->MinWarmUpTime(1)  // the system's first hand-out of 768 MiB can take a second or two
    ->ArgNames({"columns", "rows", "lines", "grids"})
    ->ArgsProduct({{512}, {8192}, {4096, 8000}, {6, 2}})
    ->ArgsProduct({{1024}, {65536}, {64000}, {6, 2}});

void LoadFile(benchmark::State& state, const fs::path& file) {
    SilentReporter reporter;
    kestrel::Engine engine;
    engine.Allocate(512, 8192, reporter, nullptr);
    for (auto _ : state)
        kestrel::LoadSide(engine, 0, file.u16string(), 0, reporter, nullptr);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
}

void BM_LoadAsciiCrLf_8MB(benchmark::State& state) {
    LoadFile(state, WriteBigFile("load-8m.txt", 8 << 20));
}
BENCHMARK(BM_LoadAsciiCrLf_8MB)->Unit(benchmark::kMillisecond);

void BM_LoadAsciiCrLf_1GiB_OverflowingRows(benchmark::State& state) {
    LoadFile(state, WriteBigFile("load-1g.txt", std::size_t{1} << 30));
}
BENCHMARK(BM_LoadAsciiCrLf_1GiB_OverflowingRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
