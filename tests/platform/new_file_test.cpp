#include "core/model/text_file.h"
#include "platform/new_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quenmark {

namespace {

std::size_t entries(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

} // namespace

TEST(NewFile, ATakenNameIsLeftAsItWas) {
    TempFolder folder;
    folder.write("file.txt", "old");
    folder.makeFolders({"folder"});
    std::filesystem::create_symlink("elsewhere.txt", folder / "broken-link");
    std::filesystem::create_symlink("file.txt", folder / "link");
    for (const char* name : {"file.txt", "folder", "broken-link", "link"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(writeNewFile(folder / name, "new"), NewFile::AlreadyThere);
    }
    EXPECT_EQ(folder.read("file.txt"), "old");
    EXPECT_FALSE(folder.exists("elsewhere.txt"));
    EXPECT_EQ(entries(folder.path()), 4u);
}

TEST(NewFile, AFreeNameGetsTheWholeContentAndNoTemporaryFileStays) {
    TempFolder folder;
    EXPECT_EQ(writeNewFile(folder / "settings.dat", "a\r\nb\r\n", FileAccess::OwnerOnly),
              NewFile::Made);
    EXPECT_EQ(folder.read("settings.dat"), "a\r\nb\r\n");
    struct stat st {};
    ASSERT_EQ(::stat((folder / "settings.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(writeNewFile(folder / "empty.txt", ""), NewFile::Made);
    EXPECT_TRUE(folder.exists("empty.txt"));
    EXPECT_EQ(entries(folder.path()), 2u);
}

TEST(NewFile, AFileThatCannotBeMadeIsReportedByName) {
    TempFolder folder;
    try {
        writeNewFile(folder / "missing" / "roster.txt", "");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("missing/roster.txt"), std::string::npos);
    }
}

} // namespace quenmark
