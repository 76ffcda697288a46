#include "core/publish/upload.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>

namespace quenmark {

// The account held since the run began, blanks and all; settings.dat names
// another, and gives the directory and the flags (elite elite2 stage diff leaders
// roster points picture, one digit each). The script's lines between the
// account's three and "close", "quit"; '|' stands for CR LF. The pages go as
// text, the picture as bytes. No settings.dat, or a client that cannot start:
// the message the operator sees.
TEST(StartUpload, WritesTheScriptTheSettingsSayThenStartsTheClient) {
    const SiteSettings held = parseSettings({" 127.0.0.1 2121", "ranker ", " x "});
    const struct {
        const char* directory; // nullptr: no settings.dat
        const char* flags;
        bool starts;
        const char* script;
        const char* message;
    } cases[] = {
        {" 0 \r\n", "00000000", true, "lcd upload|ascii", ""},
        {" 1 \r\n\r\n", "00000000", true, "cd |lcd upload|ascii", ""},
        {" 2 \r\n", "21012012", true,
         "lcd upload|ascii|put elite2.htm elite2.htm|put diffp-1.htm diffp-1.htm|"
         "put difft-1.htm difft-1.htm|put diffp-2.htm diffp-2.htm|put difft-2.htm difft-2.htm|"
         "put diffp-3.htm diffp-3.htm|put difft-3.htm difft-3.htm|put points.htm points.htm",
         ""},
        {" 1 \r\nhtdocs/q\r\n", "11101111", true,
         "cd htdocs/q|lcd upload|ascii|put elite.htm elite.htm|put elite2.htm elite2.htm|"
         "put stage1.htm stage1.htm|put stage2.htm stage2.htm|put stage3.htm stage3.htm|"
         "put stage4.htm stage4.htm|put stage5.htm stage5.htm|put stage6.htm stage6.htm|"
         "put stage7.htm stage7.htm|put stage8.htm stage8.htm|put stage9.htm stage9.htm|"
         "put stage10.htm stage10.htm|put stage11.htm stage11.htm|put stage12.htm stage12.htm|"
         "put stage13.htm stage13.htm|put stage14.htm stage14.htm|put leaders.htm leaders.htm|"
         "put roster.htm roster.htm|put points.htm points.htm|binary|put tarvo.jpg tarvo.jpg",
         ""},
        {" 0 \r\n", "10000000", false, "lcd upload|ascii|put elite.htm elite.htm",
         "The upload could not be started."},
        {nullptr, "", true, "", "\"settings.dat\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        TempFolder folder;
        if (c.directory) {
            std::string text =
                crlf({"other.example", "other", "otherpw", "yellow", " 0 ", " 3 ", " 1 "}) +
                c.directory;
            for (const char* flag = c.flags; *flag; ++flag)
                text += std::string(" ") + *flag + " \r\n";
            folder.write("settings.dat", text);
            // An old script, longer than any new one and readable by all, is replaced whole.
            folder.write("ftp.dat", std::string(4000, 'x'));
            ASSERT_EQ(::chmod((folder / "ftp.dat").c_str(), 0644), 0);
        }
        StandInProcesses starter;
        starter.uploadStarts = c.starts;
        const auto message =
            startUpload(folder.path(), held, starter, std::chrono::seconds(60), {});
        EXPECT_EQ(message.has_value(), *c.message != 0);
        if (message) {
            EXPECT_TRUE(message->title == "Error" && message->icon == MessageIcon::Critical);
            EXPECT_NE(message->text.find(c.message), std::string::npos) << message->text;
        }
        EXPECT_EQ(starter.uploads, c.directory ? 1 : 0);
        std::string expected =
            "open  127.0.0.1 2121|ranker | x |" + std::string(c.script) + "|close|quit|";
        for (std::size_t at = expected.find('|'); at != std::string::npos; at = expected.find('|'))
            expected.replace(at, 1, "\r\n");
        EXPECT_EQ(folder.read("ftp.dat"), c.directory ? expected : "");
        EXPECT_EQ(folder.mode("ftp.dat"), c.directory ? 0600u : 0u);
    }
}

} // namespace quenmark
