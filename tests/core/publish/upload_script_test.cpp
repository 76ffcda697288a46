#include "core/publish/upload.h"
#include "core/publish/upload_script.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quenmark {

namespace {

// The account held since the run began, blanks and all; settings.dat names another.
const SiteSettings kHeld = parseSettings({" 127.0.0.1 2121", "ranker ", " x "});

// `flags`: elite elite2 stage diff leaders roster points picture, one digit each.
void writeSettings(const TempFolder& folder, const std::string& directory,
                   const std::string& flags) {
    std::string text =
        crlf({"other.example", "other", "otherpw", "yellow", " 0 ", " 3 ", " 1 "}) + directory;
    for (char flag : flags)
        text += std::string(" ") + flag + " \r\n";
    folder.write("settings.dat", text);
}

TEST(UploadScript, LinesFollowTheSettings) {
    // Lines between the account's three and "close", "quit", "|" standing for CR LF.
    const std::vector<std::array<std::string, 3>> cases = {
        {" 0 \r\n", "00000000", "lcd upload|ascii"},
        {" 1 \r\n\r\n", "00000000", "cd |lcd upload|ascii"},
        {" 2 \r\n", "21012012",
         "lcd upload|ascii|put elite2.htm elite2.htm|put diffp-1.htm diffp-1.htm|"
         "put difft-1.htm difft-1.htm|put diffp-2.htm diffp-2.htm|put difft-2.htm difft-2.htm|"
         "put diffp-3.htm diffp-3.htm|put difft-3.htm difft-3.htm|put points.htm points.htm"},
        // The pages go as text, the picture as bytes.
        {" 1 \r\nhtdocs/q\r\n", "11101111",
         "cd htdocs/q|lcd upload|ascii|put elite.htm elite.htm|put elite2.htm elite2.htm|"
         "put stage1.htm stage1.htm|put stage2.htm stage2.htm|put stage3.htm stage3.htm|"
         "put stage4.htm stage4.htm|put stage5.htm stage5.htm|put stage6.htm stage6.htm|"
         "put stage7.htm stage7.htm|put stage8.htm stage8.htm|put stage9.htm stage9.htm|"
         "put stage10.htm stage10.htm|put stage11.htm stage11.htm|put stage12.htm stage12.htm|"
         "put stage13.htm stage13.htm|put stage14.htm stage14.htm|put leaders.htm leaders.htm|"
         "put roster.htm roster.htm|put points.htm points.htm|binary|put tarvo.jpg tarvo.jpg"},
    };
    for (const auto& [directory, flags, middle] : cases) {
        TempFolder folder;
        writeSettings(folder, directory, flags);
        // An old script, longer than any new one and readable by all, is replaced whole.
        folder.write("ftp.dat", std::string(4000, 'x'));
        ASSERT_EQ(::chmod((folder / "ftp.dat").c_str(), 0644), 0);
        ASSERT_EQ(writeUploadScript(folder.path(), kHeld), std::nullopt);
        std::string expected = "open  127.0.0.1 2121|ranker | x |" + middle + "|close|quit|";
        for (std::size_t at = expected.find('|'); at != std::string::npos; at = expected.find('|'))
            expected.replace(at, 1, "\r\n");
        EXPECT_EQ(folder.read("ftp.dat"), expected) << flags;
        EXPECT_EQ(folder.mode("ftp.dat"), 0600u);
    }
}

TEST(StartUpload, VanishedSettingsNamedAndNothingStarted) {
    TempFolder folder;
    StandInProcesses starter;
    starter.uploadStarts = false;
    const auto message = startUpload(folder.path(), kHeld, starter, std::chrono::seconds(60), {});
    ASSERT_TRUE(message && message->title == "Error" && message->icon == MessageIcon::Critical);
    EXPECT_NE(message->text.find("\"settings.dat\""), std::string::npos) << message->text;
    EXPECT_TRUE(starter.uploads == 0 && !folder.exists("ftp.dat"));
}

TEST(StartUpload, ClientThatCannotStartIsReported) {
    TempFolder folder;
    writeSettings(folder, " 0 \r\n", "10000000");
    StandInProcesses starter;
    starter.uploadStarts = false;
    EXPECT_EQ(
        startUpload(folder.path(), kHeld, starter, std::chrono::seconds(60), {}),
        (OperatorMessage{"Error", "The upload could not be started.", MessageIcon::Critical}));
    EXPECT_EQ(starter.uploads, 1);
    EXPECT_TRUE(folder.exists("ftp.dat"));
}

} // namespace

} // namespace quenmark
