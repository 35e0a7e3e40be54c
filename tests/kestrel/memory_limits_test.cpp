// Memory that follows the files rather than the grid's size, grids that do not fit, and
// allocations that fail without ending the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <tuple>

#include "tests/kestrel/engine_fixture.h"

#ifndef _WIN32
namespace {
std::size_t fail_from = 0;  // while not 0, every allocation of at least this many bytes fails
}
void* operator new(std::size_t bytes) {
    void* block = fail_from != 0 && bytes >= fail_from ? nullptr : std::malloc(bytes ? bytes : 1);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#endif

namespace kestrel {
namespace {

using testing::EngineFixture;

const ko::testing::ShownMessage kAllocationFailure{
    nullptr, u"Failed to allocate the specified number of bytes from the heap.", u"Failure",
    ko::box::kIconError};

// What the engine holds beside the grids: row hashes and comparison tables.
std::size_t TableBytes(const Engine& engine) {
    const ComparisonScratch& s = engine.scratch;
    std::size_t bytes = s.table.capacity() * sizeof(s.table[0]) + s.rowKind.capacity();
    for (int side = 0; side < 2; ++side)
        bytes += engine.sides[side].rowHash.capacity() * 8 +
                 4 * (s.classOf[side].capacity() + s.classStart[side].capacity() +
                      s.rowsOf[side].capacity() + s.source[side].capacity());
    return bytes;
}

TEST(MemoryLimits, TablesFollowTheLinesLoadedNotTheGridsRows) {
    std::vector<int> row_counts = {10'000'000};
#ifndef _WIN32
    row_counts.push_back(100'000'000);  // 1.2 GB of grids, of which a few pages are touched
#endif
    for (const int rows : row_counts) {
        EngineFixture f(1, rows);
        ASSERT_TRUE(f.engine.grids.allocated());
        f.Load(0, "a\nb", 1);
        f.Load(1, "a\nc", 1);
        EXPECT_EQ(f.AlignedRows(CompareSides(f.engine, f.reporter)),
                  (std::vector<std::string>{"a:0|a:0", "b:1|c:1"}));
        EXPECT_LT(TableBytes(f.engine), 4096u) << rows;
    }
}

TEST(MemoryLimits, GridsThatDoNotFitInPhysicalMemoryAreRefused) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30, kSixGrids = 6 * (512 * 8192 * 2 + 2048);
    const std::tuple<long long, long long, std::uint64_t> cases[] = {
        {512, 8192, kSixGrids},
        {512, 8192, kSixGrids - 1},
        {1, 536870911, 4 * kGiB},    // six grids of 1 GiB
        {1, 1073741823, 8 * kGiB}};  // six grids of 2 GiB
    for (const auto& [columns, rows, memory] : cases) {
        ko::testing::RecordingReporter reporter;
        Engine engine;
        const bool fits = memory == kSixGrids;
        EXPECT_EQ(engine.Allocate(columns, rows, reporter, nullptr, memory), fits);
        EXPECT_EQ(reporter.shown, std::vector(fits ? 0u : 1u, kAllocationFailure));
    }
}

#ifndef _WIN32
TEST(MemoryLimits, AFailedAllocationWhileLoadingIsReportedAndTheEngineStaysUsable) {
    EngineFixture f(8, 20000);
    fail_from = 64 << 10;  // the loader's 256 KiB read buffer
    EXPECT_EQ(f.Load(0, "a\nb", 1), LoadOutcome::kOutOfMemory);
    fail_from = 0;
    ASSERT_EQ(f.Load(0, "a\nb", 1), LoadOutcome::kLoaded);
    fail_from = 64 << 10;  // the row hashes of 10,001 lines
    EXPECT_EQ(f.Load(1, std::string(10000, '\n'), 1), LoadOutcome::kOutOfMemory);
    fail_from = 0;
    EXPECT_EQ(f.reporter.shown, (std::vector{kAllocationFailure, kAllocationFailure}));
    ASSERT_EQ(f.Load(1, "a\nc", 1), LoadOutcome::kLoaded);
    EXPECT_EQ(f.AlignedRows(CompareSides(f.engine, f.reporter)),
              (std::vector<std::string>{"a:0|a:0", "b:1|c:1"}));
}
#endif

}  // namespace
}  // namespace kestrel
