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
    const auto s = loadSettings(folder.path());
    ASSERT_TRUE(s);
    EXPECT_EQ(pointMax(s->pointMaxIndex), 15);
    EXPECT_EQ(penaltySeconds(s->penaltyIndex), 300);
    EXPECT_EQ(alignWord(s->alignIndex), "right");
    EXPECT_TRUE(isFlagSet(s->useDirectory));
    EXPECT_EQ(s->directory, "");
    EXPECT_FALSE(isFlagSet(s->uploadElite));
    EXPECT_TRUE(isFlagSet(s->uploadElite2));
    EXPECT_FALSE(isFlagSet(s->uploadStage)); // missing lines read 0
    EXPECT_FALSE(isFlagSet(s->uploadTarvo));

    // A list position outside its list reads as the list's default entry.
    for (const char* outside : {"-1", "10"}) {
        folder.write("settings.dat", crlf({"h", "u", "p", "c", outside, outside, outside}));
        const auto d = loadSettings(folder.path());
        ASSERT_TRUE(d);
        EXPECT_EQ(pointMax(d->pointMaxIndex), 200) << outside;
        EXPECT_EQ(penaltySeconds(d->penaltyIndex), 1200) << outside;
        EXPECT_EQ(alignWord(d->alignIndex), "center") << outside;
    }
    folder.write("settings.dat", "");
    EXPECT_EQ(loadSettings(folder.path()), SiteSettings{});
    std::filesystem::remove(folder / "settings.dat");
    EXPECT_FALSE(loadSettings(folder.path()));
}

} // namespace quenmark
