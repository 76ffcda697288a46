#include "core/model/text_file.h"
#include "platform/new_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quenmark {

// A name taken by a file, a folder or a link, even a broken one, is left as it
// was; a free name gets the whole content with the access asked for, and no
// temporary file stays; a file that cannot be made is reported by name.
TEST(NewFile, MakesAFileOnlyWhereTheNameIsFree) {
    TempFolder folder;
    folder.write("file.txt", "old");
    folder.makeFolders({"folder"});
    std::filesystem::create_symlink("elsewhere.txt", folder / "broken-link");
    std::filesystem::create_symlink("file.txt", folder / "link");
    for (const char* name : {"file.txt", "folder", "broken-link", "link"})
        EXPECT_EQ(writeNewFile(folder / name, "new"), NewFile::AlreadyThere) << name;
    EXPECT_EQ(folder.read("file.txt"), "old");
    EXPECT_FALSE(folder.exists("elsewhere.txt"));

    EXPECT_EQ(writeNewFile(folder / "settings.dat", "a\r\nb\r\n", FileAccess::OwnerOnly),
              NewFile::Made);
    EXPECT_EQ(folder.read("settings.dat"), "a\r\nb\r\n");
    EXPECT_EQ(folder.mode("settings.dat"), 0600u);
    EXPECT_EQ(writeNewFile(folder / "empty.txt", ""), NewFile::Made);
    EXPECT_TRUE(folder.exists("empty.txt"));
    EXPECT_EQ(folder.count(), 6);
    try {
        writeNewFile(folder / "missing" / "roster.txt", "");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("missing/roster.txt"), std::string::npos);
    }
}

} // namespace quenmark
