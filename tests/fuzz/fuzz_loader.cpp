// The loader on two files of any bytes, every newline code and small grids: an engine that
// loaded and compared other files before must end exactly like a fresh one.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include "bench/silent_reporter.h"
#include "common/native_name.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/file_loader.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using namespace kestrel;

bool SameGrid(const Engine& a, const Engine& b, int grid) {
    return std::memcmp(a.grids.Bytes(grid), b.grids.Bytes(grid), a.grids.grid_bytes()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int kColumns[] = {1, 3, 8, 64, 600}, kRows[] = {1, 2, 5, 40};
    static std::map<int, std::unique_ptr<Engine>> reused;  // by shape
    static ko::bench::SilentReporter reporter;
    ko::fuzz::FuzzInput input(data, size);
    const int kaimode = input.Byte() % 4, columns = kColumns[input.Byte() % 5],
              rows = kRows[input.Byte() % 4];
    const std::size_t length_a = input.Byte() * 16 + input.Byte();
    const std::string_view files[2] = {input.Take(length_a), input.Rest()};

    std::unique_ptr<Engine>& old = reused[columns * 100 + rows];
    auto fresh = std::make_unique<Engine>();
    if (!old) {
        old = std::make_unique<Engine>();
        old->Allocate(columns, rows, reporter, nullptr);
    }
    fresh->Allocate(columns, rows, reporter, nullptr);
    for (int side = 0; side < 2; ++side) {
        const std::string path = "/tmp/ko-fuzz-" + std::to_string(::getpid()) + "-" + "ab"[side];
        std::ofstream(path, std::ios::binary).write(files[side].data(), files[side].size());
        LoadCuts cuts[2];
        Engine* engines[2] = {old.get(), fresh.get()};
        for (int e = 0; e < 2; ++e)
            LoadSide(*engines[e], side, ko::NativeNameToText(path), kaimode, reporter, nullptr,
                     cuts[e]);
        KO_FUZZ_CHECK(old->sides[side].lineCount == fresh->sides[side].lineCount);
        KO_FUZZ_CHECK(cuts[0].pastLastRow == cuts[1].pastLastRow &&
                      cuts[0].atColumns == cuts[1].atColumns && cuts[0].atNul == cuts[1].atNul);
        KO_FUZZ_CHECK(SameGrid(*old, *fresh, LoadedGrid(side)));
        std::remove(path.c_str());
    }
    const AlignedCounts aligned[2] = {CompareSides(*old, reporter), CompareSides(*fresh, reporter)};
    KO_FUZZ_CHECK(aligned[0].a == aligned[1].a && aligned[0].b == aligned[1].b);
    KO_FUZZ_CHECK(old->compareState == fresh->compareState);
    for (int grid = 0; grid < kGridCount; ++grid)
        KO_FUZZ_CHECK(SameGrid(*old, *fresh, grid));
    return 0;
}
