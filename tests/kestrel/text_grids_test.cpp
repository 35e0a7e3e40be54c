#include "kestrel/engine/text_grids.h"

#include <gtest/gtest.h>

#include "tests/support/recording_reporter.h"

namespace kestrel {
namespace {

TEST(TextGrids, DefaultSizeHasTheDocumentedByteCount) {
    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    ASSERT_TRUE(grids.Allocate(512, 8192, reporter, nullptr));
    EXPECT_EQ(grids.grid_bytes(), 8390656u);
}

}  // namespace
}  // namespace kestrel
