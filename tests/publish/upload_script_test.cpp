#include "publish/upload.h"
#include "publish/upload_script.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// settings.dat as the Settings dialog writes it: numbers in the number form.
std::string settingsFile(const std::string& directoryLines, const std::string& flags) {
    std::string text = "file.server.example\r\nfileuser\r\nfilepass\r\nyellow\r\n 0 \r\n 3 \r\n"
                       " 1 \r\n" +
                       directoryLines;
    for (char flag : flags)
        text += std::string(" ") + flag + " \r\n";
    return text;
}

SiteSettings held() {
    SiteSettings s;
    s.ftpServer = "127.0.0.1 2121";
    s.ftpUser = "ranker";
    s.ftpPassword = "secret";
    return s;
}

class FakeStarter : public ProcessStarter {
public:
    bool startBatch(const std::filesystem::path&, const std::string&) override { return false; }
    bool startUpload(const std::filesystem::path& folder, const std::string& script) override {
        calls.push_back({folder, script});
        return succeed;
    }

    struct Call {
        std::filesystem::path folder;
        std::string script;
    };
    std::vector<Call> calls;
    bool succeed = true;
};

TEST(UploadScript, AllFlagsOffGivesSevenLines) {
    TempFolder folder;
    folder.write("settings.dat", settingsFile(" 0 \r\n", "00000000"));
    ASSERT_EQ(writeUploadScript(folder.path(), held()), std::nullopt);
    EXPECT_EQ(folder.read("ftp.dat"), crlf({"open 127.0.0.1 2121", "ranker", "secret", "lcd upload",
                                            "ascii", "close", "quit"}));
}

TEST(UploadScript, EveryFlagOnWithDirectory) {
    TempFolder folder;
    folder.write("settings.dat", settingsFile(" 1 \r\nhtdocs/quenmark\r\n", "11111111"));
    ASSERT_EQ(writeUploadScript(folder.path(), held()), std::nullopt);
    EXPECT_EQ(folder.read("ftp.dat"), crlf({"open 127.0.0.1 2121",
                                            "ranker",
                                            "secret",
                                            "cd htdocs/quenmark",
                                            "lcd upload",
                                            "ascii",
                                            "put elite.htm elite.htm",
                                            "put elite2.htm elite2.htm",
                                            "put stage1.htm stage1.htm",
                                            "put stage2.htm stage2.htm",
                                            "put stage3.htm stage3.htm",
                                            "put stage4.htm stage4.htm",
                                            "put stage5.htm stage5.htm",
                                            "put stage6.htm stage6.htm",
                                            "put stage7.htm stage7.htm",
                                            "put stage8.htm stage8.htm",
                                            "put stage9.htm stage9.htm",
                                            "put stage10.htm stage10.htm",
                                            "put stage11.htm stage11.htm",
                                            "put stage12.htm stage12.htm",
                                            "put stage13.htm stage13.htm",
                                            "put stage14.htm stage14.htm",
                                            "put diffp-1.htm diffp-1.htm",
                                            "put difft-1.htm difft-1.htm",
                                            "put diffp-2.htm diffp-2.htm",
                                            "put difft-2.htm difft-2.htm",
                                            "put diffp-3.htm diffp-3.htm",
                                            "put difft-3.htm difft-3.htm",
                                            "put leaders.htm leaders.htm",
                                            "put roster.htm roster.htm",
                                            "put points.htm points.htm",
                                            "binary",
                                            "put tarvo.jpg tarvo.jpg",
                                            "close",
                                            "quit"}));
}

// Each case: directory lines, the eight flags, the lines between "ascii" and "close".
struct FlagCase {
    const char* name;
    std::string directoryLines;
    std::string flags;
    std::vector<std::string> expected;
};

class UploadScriptFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(UploadScriptFlags, WritesOnlyTheChosenLines) {
    const FlagCase& c = GetParam();
    TempFolder folder;
    folder.write("settings.dat", settingsFile(c.directoryLines, c.flags));
    ASSERT_EQ(writeUploadScript(folder.path(), held()), std::nullopt);
    std::string expected = crlf({"open 127.0.0.1 2121", "ranker", "secret"});
    for (const std::string& line : c.expected)
        expected += line + "\r\n";
    expected += crlf({"close", "quit"});
    EXPECT_EQ(folder.read("ftp.dat"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UploadScriptFlags,
    testing::Values(FlagCase{"EmptyDirectoryKeepsTheBlank",
                             " 1 \r\n\r\n",
                             "00000000",
                             {"cd ", "lcd upload", "ascii"}},
                    FlagCase{"DirectoryFlagTwoMeansNoDirectoryLine",
                             " 2 \r\n",
                             "00000010",
                             {"lcd upload", "ascii", "put points.htm points.htm"}},
                    FlagCase{"FlagTwoUploadsNothing",
                             " 0 \r\n",
                             "21021202",
                             {"lcd upload", "ascii", "put elite2.htm elite2.htm",
                              "put leaders.htm leaders.htm"}},
                    FlagCase{"PictureAloneSwitchesToBinary",
                             " 0 \r\n",
                             "00000001",
                             {"lcd upload", "ascii", "binary", "put tarvo.jpg tarvo.jpg"}},
                    FlagCase{"DiffPagesInterleaved",
                             " 0 \r\n",
                             "00010100",
                             {"lcd upload", "ascii", "put diffp-1.htm diffp-1.htm",
                              "put difft-1.htm difft-1.htm", "put diffp-2.htm diffp-2.htm",
                              "put difft-2.htm difft-2.htm", "put diffp-3.htm diffp-3.htm",
                              "put difft-3.htm difft-3.htm", "put roster.htm roster.htm"}}),
    [](const testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST(UploadScript, AccountComesFromTheHeldSettingsWithItsBlanks) {
    TempFolder folder;
    folder.write("settings.dat", settingsFile(" 0 \r\n", "00000000"));
    SiteSettings account;
    account.ftpServer = " host ";
    account.ftpUser = " user";
    account.ftpPassword = "pass ";
    ASSERT_EQ(writeUploadScript(folder.path(), account), std::nullopt);
    EXPECT_EQ(folder.read("ftp.dat"),
              crlf({"open  host ", " user", "pass ", "lcd upload", "ascii", "close", "quit"}));
}

TEST(UploadScript, ReplacesAnOldScriptReadableByItsOwnerOnly) {
    TempFolder folder;
    folder.write("settings.dat", settingsFile(" 0 \r\n", "00000000"));
    folder.write("ftp.dat", "old content that is much longer than the new script\r\n");
    ASSERT_EQ(::chmod((folder / "ftp.dat").c_str(), 0644), 0);
    ASSERT_EQ(writeUploadScript(folder.path(), held()), std::nullopt);
    EXPECT_EQ(folder.read("ftp.dat").substr(0, 21), "open 127.0.0.1 2121\r\n");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "ftp.dat").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(StartUpload, StartsTheClientOnTheScript) {
    TempFolder folder;
    folder.write("settings.dat", settingsFile(" 0 \r\n", "10000000"));
    FakeStarter starter;
    EXPECT_EQ(startUpload(folder.path(), held(), starter), std::nullopt);
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].folder, folder.path());
    EXPECT_EQ(starter.calls[0].script, "ftp.dat");
    EXPECT_TRUE(folder.exists("ftp.dat"));
}

TEST(StartUpload, ClientThatCannotStartIsReported) {
    TempFolder folder;
    folder.write("settings.dat", settingsFile(" 0 \r\n", "10000000"));
    FakeStarter starter;
    starter.succeed = false;
    EXPECT_EQ(
        startUpload(folder.path(), held(), starter),
        (OperatorMessage{"Error", "The upload could not be started.", MessageIcon::Critical}));
}

TEST(StartUpload, VanishedSettingsNamedAndNothingStarted) {
    TempFolder folder;
    FakeStarter starter;
    const auto message = startUpload(folder.path(), held(), starter);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->title, "Error");
    EXPECT_EQ(message->icon, MessageIcon::Critical);
    EXPECT_NE(message->text.find("\"settings.dat\""), std::string::npos);
    EXPECT_TRUE(starter.calls.empty());
    EXPECT_FALSE(folder.exists("ftp.dat"));
}

} // namespace
