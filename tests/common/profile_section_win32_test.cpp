// The settings section read in one go gives every key what the per-key profile functions give.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/profile_store.h"
#include "common/text.h"
#include "common/win32_text.h"
#include "tests/common/ini_bytes.h"
#include "tests/support/temp_dir.h"

namespace ko {
namespace {

TEST(ProfileSection, EveryKeyReadsAsThePerKeyFunctionsReadIt) {
    const std::string files[] = {
        testing::Utf16File(u"[setting]\r\n a = 1 \r\nb=\"quoted\" \r\nc='x'\r\nd=\r\ne=0x10\r\n"
                           u"f= -7\r\ng=12px\r\nh=99999999999\r\nA=2\r\ni\r\n;j=1\r\nk=\"\r\n"
                           u"l=+5\r\nm=007\r\nn=設定\r\n[Setting]\r\no=1\r\n"),
        "[Setting]\r\nn=" + testing::kSettingCp932 + "\r\n a =\t-12\t\r\n",
        "",
    };
    testing::TempDir temp;
    for (const std::string& bytes : files) {
        const std::u16string path = testing::PathText(temp.Write("kestrel.ini", bytes));
        const auto section = PlatformProfileStore().ReadSection(path, u"Setting");
        // No key of ours starts with ';', which the section read leaves out as a comment.
        for (const char16_t* key : {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"k",
                                    u"l", u"m", u"n", u"o", u"missing"}) {
            SCOPED_TRACE(Utf16ToUtf8(key));
            wchar_t text[8] = {};
            GetPrivateProfileStringW(L"Setting", AsWide(key), L"def  ", text, 8,
                                     AsWide(path.c_str()));
            EXPECT_EQ(section->ReadString(key, u"def  ", 7), AsU16(text));
            EXPECT_EQ(section->ReadInt(key, -3),
                      static_cast<std::int32_t>(GetPrivateProfileIntW(L"Setting", AsWide(key), -3,
                                                                      AsWide(path.c_str()))));
        }
    }
}

}  // namespace
}  // namespace ko
