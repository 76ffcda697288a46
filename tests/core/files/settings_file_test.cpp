#include "core/files/settings_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quenmark {

// Sixteen lines by default; a seventeenth, the directory, only when its flag is one.
TEST(SettingsFile, TheDirectoryLineIsThereOnlyWhenItsFlagIsOne) {
    EXPECT_EQ(settingsText(defaultSettings()),
              crlf({"ftp.quenmark.example", "quenmark", "zebulons", "yellow", " 0 ", " 3 ", " 1 ",
                    " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
    TempFolder folder;
    SiteSettings s = defaultSettings();
    s.useDirectory = 1;
    s.directory = " /www ";
    s.ftpPassword = " pass ";
    s.uploadTarvo = 0;
    saveSettings(folder.path(), s);
    const std::string text = folder.read("settings.dat");
    EXPECT_EQ(text.substr(text.find(" 1 \r\n /www \r\n")),
              " 1 \r\n /www \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n");
    EXPECT_EQ(loadSettings(folder.path()), s);
    EXPECT_EQ(folder.mode("settings.dat"), 0600u);
}

TEST(SettingsFile, ReadsWhatItCanOfOddFiles) {
    TempFolder folder;
    // Bare digits, a flag of 2, a directory flag of 1 with an empty directory, and
    // the file ending early.
    folder.write("settings.dat",
                 crlf({"host", "user", "pw", "red", "8", "0 ", "2", "1", "", "2", "1"}));
    // Points, penalty, alignment, then the flags as read: directory [its text],
    // elite, elite2, stage (missing lines read 0), the picture.
    const auto read = [&] {
        const SiteSettings s = loadSettings(folder.path()).value_or(SiteSettings{});
        return std::to_string(pointMax(s.pointMaxIndex)) + " " +
               std::to_string(penaltySeconds(s.penaltyIndex)) + " " + alignWord(s.alignIndex) +
               " " + std::to_string(isFlagSet(s.useDirectory)) + "[" + s.directory + "]" +
               std::to_string(isFlagSet(s.uploadElite)) +
               std::to_string(isFlagSet(s.uploadElite2)) +
               std::to_string(isFlagSet(s.uploadStage)) + std::to_string(isFlagSet(s.uploadTarvo));
    };
    EXPECT_EQ(read(), "15 300 right 1[]0100");
    // A list position outside its list reads as the list's default entry.
    for (const char* outside : {"-1", "10"}) {
        folder.write("settings.dat", crlf({"h", "u", "p", "c", outside, outside, outside}));
        EXPECT_EQ(read(), "200 1200 center 0[]0000") << outside;
    }
    folder.write("settings.dat", "");
    EXPECT_EQ(loadSettings(folder.path()), SiteSettings{});
    std::filesystem::remove(folder / "settings.dat");
    EXPECT_FALSE(loadSettings(folder.path()));
}

} // namespace quenmark
