// What only the Windows build can show: the real file-sharing rules of CreateFileW and the
// thread's ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32_text.h"
#include "tests/kestrel/engine_fixture.h"

namespace kestrel {
namespace {

TEST(FileLoaderOnWindows, RefusesAFileOthersWriteAndReadsUnmarkedFilesInTheThreadsCodePage) {
    testing::EngineFixture f;
    f.Load(0, "before");
    const std::u16string path = f.dir.WriteU16("held.txt", "held text");
    for (const DWORD access : {DWORD{GENERIC_WRITE}, DWORD{GENERIC_READ}}) {
        HANDLE other = CreateFileW(ko::AsWide(path.c_str()), access, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        const LoadOutcome outcome = LoadSide(f.engine, 0, path, 0, f.reporter, nullptr);
        CloseHandle(other);
        const bool readable = access == GENERIC_READ;
        EXPECT_EQ(outcome, readable ? LoadOutcome::kLoaded : LoadOutcome::kOpenFailed);
        EXPECT_EQ(f.RowText(kLoadedA, 0), readable ? u"held text" : u"before");
    }
    EXPECT_EQ(f.reporter.Texts(),
              (std::vector<std::u16string>{u"Can't open " + path + u" file\r\nErrCode=32"}));
    ASSERT_EQ(GetACP(), 932u) << "the tests run with a Japanese locale";
    f.Load(0, "\x93\xFA\x96\x7B\x8C\xEA");  // 日本語 in code page 932
    EXPECT_EQ(f.RowText(kLoadedA, 0), u"日本語");
}

}  // namespace
}  // namespace kestrel
