// Inputs only a POSIX file system offers: pipes and endless devices where files are expected,
// and names whose bytes are not UTF-8.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/kestrel_cli.h"
#include "cli/osprey_cli.h"
#include "common/current_directory.h"
#include "common/file_reader.h"
#include "common/native_name.h"
#include "common/settings.h"
#include "common/text.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko::cli {
namespace {

namespace fs = std::filesystem;

class PosixInputs : public ::testing::Test {
  protected:
    void SetUp() override { previous_ = ReadCurrentDirectory(); }
    void TearDown() override {
        alarm(0);
        ChangeCurrentDirectory(previous_);
    }

    // Runs a console program in `folder` (raw bytes below the test's folder).
    int Run(const std::string& folder, bool osprey, const std::vector<std::u16string>& arguments) {
        EXPECT_TRUE(ChangeCurrentDirectory(NativeNameToText(Path(folder))));
        out_.clear();
        messages_.shown.clear();
        return osprey ? RunOspreyCli(arguments, out_, messages_)
                      : RunKestrelCli(arguments, false, out_, messages_);
    }
    std::string Path(const std::string& name) const { return dir_.path().string() + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    testing::TempDir dir_;
    testing::RecordingReporter messages_;
    std::string out_;
    std::u16string previous_;
};

TEST_F(PosixInputs, PipesAndDevicesAreRefusedWithoutWaiting) {
    alarm(60);  // a program that blocks in open or reads forever ends the run here
    fs::create_directories(Path("a"));
    fs::create_directories(Path("b"));
    for (const char* fifo : {"a/p.txt", "b/p.txt", "kestrel.ini", "Osprey.ini"})
        ASSERT_EQ(::mkfifo(Path(fifo).c_str(), 0600), 0);
    Write("x.txt", "x");
    const std::u16string refused = Format(u"ErrCode=%d", {FileReader::kNotRegularFile});
    for (const std::u16string& input :
         {NativeNameToText(Path("a/p.txt")), std::u16string(u"/dev/zero"),
          std::u16string(u"/dev/urandom")}) {
        EXPECT_EQ(Run("", false, {u"--quiet", input, u"x.txt"}), 2);
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_TRUE(messages_.shown[0].text.ends_with(refused));
    }
    EXPECT_EQ(Run("", true, {u"--quiet", u"--group=1", u"a", u"b"}), 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, u"FileOpenError1");

    // A settings file that is a pipe counts as absent and is never written.
    Settings settings;
    LoadSettings(Program::kKestrel, NativeNameToText(dir_.path().string()), settings);
    EXPECT_EQ(settings.dtxlength_max, 512);
    SaveSettings(Program::kKestrel, NativeNameToText(dir_.path().string()), settings);
    EXPECT_TRUE(fs::is_fifo(Path("kestrel.ini")));
}

TEST_F(PosixInputs, NamesThatAreNotUtf8OpenAgainAndShowAsReplacementCharacters) {
    const std::string folder = "caf\xe9", name = "caf\xe9.txt";
    fs::create_directories(Path(folder + "/a"));
    fs::create_directories(Path(folder + "/b"));
    Write(folder + "/a/" + name, "1");
    Write(folder + "/b/" + name, "1");
    Write(folder + "/Osprey.ini", "[Setting]\nfailExt_no=1\n");  // group 1: *.txt
    Write(folder + "/kestrel.ini", "[Setting]\ndtxlength_max=3\n");
    EXPECT_EQ(Run(folder, true, {u"--json", u"a", u"b"}), 0);
    EXPECT_NE(out_.find("\"name\": \"caf\xef\xbf\xbd.txt\""), std::string::npos) << out_;
    const std::u16string file = NativeNameToText(Path(folder + "/a/" + name));
    EXPECT_EQ(Run(folder, false, {u"--json", file, file}), 0);
    EXPECT_NE(out_.find("\"columns\": 3"), std::string::npos);
}

TEST(NativeName, EveryByteStringComesBackAndOnlyShownTextHasReplacementCharacters) {
    for (const std::string bytes : {"plain", "caf\xc3\xa9", "caf\xe9", "\xff\xfe", "\xc3", "a\x80z",
                                    "\xed\xb2\x80", "\xf0\x9f\x98\x80\xf0\x9f"}) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(TextToNativeName(NativeNameToText(bytes)), bytes);
    }
    EXPECT_EQ(NativeNameToText("caf\xc3\xa9"), u"café");
    EXPECT_EQ(Utf16ToUtf8(NativeNameToText("caf\xe9")), "caf\xef\xbf\xbd");
}

}  // namespace
}  // namespace ko::cli
