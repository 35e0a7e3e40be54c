// What only the Windows build can show: the real file-sharing rules of CreateFileW.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32_text.h"
#include "tests/kestrel/engine_fixture.h"

namespace kestrel {
namespace {

TEST(FileLoaderOnWindows, AFileHeldOpenForWritingCannotBeLoaded) {
    testing::EngineFixture f;
    f.Load(0, "before");
    const std::u16string path = f.dir.WriteU16("held.txt", "locked text");
    HANDLE writer = CreateFileW(ko::AsWide(path.c_str()), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadSide(f.engine, 0, path, 0, f.reporter, nullptr), LoadOutcome::kOpenFailed);
    CloseHandle(writer);
    ASSERT_EQ(f.reporter.shown.size(), 1u);
    EXPECT_EQ(f.reporter.shown[0].text,
              u"Can't open " + path + u" file\r\nErrCode=32");  // sharing violation
    EXPECT_EQ(f.RowText(kLoadedA, 0), u"before");
    // Once the writer is gone the same file loads.
    EXPECT_EQ(LoadSide(f.engine, 0, path, 0, f.reporter, nullptr), LoadOutcome::kLoaded);
    EXPECT_EQ(f.RowText(kLoadedA, 0), u"locked text");
}

TEST(FileLoaderOnWindows, AFileOthersOnlyReadStaysLoadable) {
    testing::EngineFixture f;
    const std::u16string path = f.dir.WriteU16("shared.txt", "shared");
    HANDLE reader = CreateFileW(ko::AsWide(path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadSide(f.engine, 0, path, 0, f.reporter, nullptr), LoadOutcome::kLoaded);
    CloseHandle(reader);
    EXPECT_EQ(f.RowText(kLoadedA, 0), u"shared");
}

TEST(FileLoaderOnWindows, UnmarkedFilesUseTheThreadsAnsiCodePage) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run with a Japanese locale";
    testing::EngineFixture f;
    f.Load(0, "\x93\xFA\x96\x7B\x8C\xEA");  // 日本語 in code page 932
    EXPECT_EQ(f.RowText(kLoadedA, 0), u"日本語");
}

}  // namespace
}  // namespace kestrel
