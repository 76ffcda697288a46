#include "core/model/atomic_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quenmark {

TEST(TextFile, LinesEndAtLfWithTheCrBeforeItDropped) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\r\n", {"a", ""}},
        {"a\rb\r\n", {"a\rb"}},           // a lone CR is part of the line
        {"x\r\r\n", {"x\r"}},             // only the CR right before LF goes
        {"\xe9t\xe9\r\n", {"\xe9t\xe9"}}, // bytes unchanged
    };
    for (const auto& [content, lines] : cases)
        EXPECT_EQ(splitLines(content), lines) << content;
}

// A number field is read from the start of its line, rounded (halves to even)
// and clamped into its width, and written in the number form.
TEST(TextFile, NumbersReadFromTheStartAndWriteInTheNumberForm) {
    const std::pair<const char*, double> cases[] = {
        {" 3 ", 3},   {"12abc", 12}, {"abc", 0},   {"", 0},           {"05", 5},
        {"1 2", 12},  {" - 4", -4},  {"+7", 7},    {"2.5x", 2.5},     {"1e3", 1},
        {"\t9\r", 9}, {"-", 0},      {". 5", 0.5}, {"3 . 2 5", 3.25}, {"--1", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
    const std::pair<double, int> sixteenBits[] = {{2.4, 2}, {2.6, 3},       {2.5, 2},
                                                  {3.5, 4}, {40000, 32767}, {-40000, -32768}};
    for (const auto& [value, field] : sixteenBits)
        EXPECT_EQ(toInt16(value), field) << value;
    EXPECT_EQ(toInt32(1e12), 2147483647);
    EXPECT_EQ(TextBuilder().line("a").numberLine(7).numberLine(0).numberLine(-12).line("").text(),
              "a\r\n 7 \r\n 0 \r\n-12 \r\n\r\n");
}

// Replaced whole with no temporary left, the mode kept or made owner-only,
// every name that fits fits its temporary too, and a failure names the file.
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
    const std::string kept[] = {prefix + "aB3xY", "roster.txt", prefix + "aB3x.z",
                                "x" + prefix + "aB3xYz", prefix + "Newer1"};
    for (const std::string& name : kept)
        folder.write(name, "old");
    folder.write(prefix + "aB3xYz", "old");
    const auto runStart = std::filesystem::file_time_type::clock::now() + std::chrono::seconds(1);
    std::filesystem::last_write_time(folder / (prefix + "Newer1"),
                                     runStart + std::chrono::seconds(1)); // being written
    removeReplacementLeftovers(folder.path(), runStart);
    EXPECT_FALSE(folder.exists(prefix + "aB3xYz"));
    for (const std::string& name : kept)
        EXPECT_TRUE(folder.exists(name)) << name;
}

} // namespace quenmark
