#include "core/model/atomic_file.h"
#include "core/model/text_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quenmark {

using Lines = std::vector<std::string>;

TEST(TextFile, LinesEndAtLfWithTheCrBeforeItDropped) {
    const struct {
        std::string content;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\r\n", {"a", ""}},
        {"a\rb\r\n", {"a\rb"}},           // a lone CR is part of the line
        {"x\r\r\n", {"x\r"}},             // only the CR right before LF goes
        {"\xe9t\xe9\r\n", {"\xe9t\xe9"}}, // bytes unchanged
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitLines(c.content), c.lines) << c.content;
}

TEST(TextFile, WholeNumbersTakeTheNumberForm) {
    EXPECT_EQ(numberForm(3), " 3 ");
    EXPECT_EQ(numberForm(0), " 0 ");
    EXPECT_EQ(numberForm(-12), "-12 ");
    EXPECT_EQ(TextBuilder().line("a").numberLine(7).line("").text(), "a\r\n 7 \r\n\r\n");
}

// Replaced whole with no temporary left, the mode kept or made owner-only,
// and every name that fits fits its temporary too.
TEST(AtomicFile, ReplacesWholeKeepingTheModeUnderAnyNameThatFits) {
    TempFolder folder;
    folder.write("times.dat", "old");
    ::chmod((folder / "times.dat").c_str(), 0640);
    replaceFile(folder / "times.dat", "new\r\n");
    EXPECT_EQ(folder.read("times.dat"), "new\r\n");
    EXPECT_EQ(folder.count(), 1);
    EXPECT_EQ(folder.mode("times.dat"), 0640u);

    replaceFile(folder / "settings.dat", "secret", Durability::Synced, FileAccess::OwnerOnly);
    EXPECT_EQ(folder.mode("settings.dat"), 0600u);
    const std::string base(250, 'n'); // "base.html" is the longest name a base name gives
    replaceFile(folder / (base + ".html"), "page", Durability::Unsynced);
    EXPECT_EQ(folder.read(base + ".html"), "page");
}

TEST(AtomicFile, AFailedWriteNamesTheFile) {
    TempFolder folder;
    try {
        replaceFile(folder / "missing-folder" / "roster.txt", "x");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("roster.txt"), std::string::npos);
    }
}

TEST(AtomicFile, NoWriteGoesThroughALinkAtThePath) {
    TempFolder folder;
    folder.write("outside.txt", "keep");
    for (const char* name : {"replaced.htm", "appended.txt", "emptied.txt"})
        std::filesystem::create_symlink(folder / "outside.txt", folder / name);
    replaceFile(folder / "replaced.htm", "page", Durability::Unsynced);
    appendToFile(folder / "appended.txt", "Ann\r\n");
    writeEmptyFile(folder / "emptied.txt");
    EXPECT_EQ(folder.read("outside.txt"), "keep");
    EXPECT_EQ(folder.read("replaced.htm"), "page");
    EXPECT_EQ(folder.read("appended.txt"), "Ann\r\n");
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "emptied.txt"));
}

TEST(AtomicFile, OnlyTemporariesOlderThanTheRunAreRemovedAsLeftovers) {
    TempFolder folder;
    const std::string prefix(kReplacementPrefix);
    for (const std::string& name : {prefix + "aB3xYz", prefix + "aB3xY", std::string("roster.txt"),
                                    prefix + "aB3x.z", "x" + prefix + "aB3xYz"})
        folder.write(name, "old");
    const auto runStart = std::filesystem::file_time_type::clock::now() + std::chrono::seconds(1);
    folder.write(prefix + "Newer1", "being written");
    std::filesystem::last_write_time(folder / (prefix + "Newer1"),
                                     runStart + std::chrono::seconds(1));
    removeReplacementLeftovers(folder.path(), runStart);
    EXPECT_FALSE(folder.exists(prefix + "aB3xYz"));
    for (const std::string& name : {prefix + "aB3xY", std::string("roster.txt"), prefix + "aB3x.z",
                                    "x" + prefix + "aB3xYz", prefix + "Newer1"})
        EXPECT_TRUE(folder.exists(name)) << name;
}

} // namespace quenmark
