#include "platform/batch_interpreter.h"
#include "platform/process_start.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace quenmark {

TEST(ProcessStart, AProgramThatCannotRunIsReportedAtOnce) {
    TempFolder folder;
    EXPECT_FALSE(startDetached({"no-such-program-anywhere", {}, folder.path(), {}}));
    EXPECT_FALSE(startDetached({"/bin/true", {}, folder / "no-such-folder", {}}));
    EXPECT_FALSE(runAndWait({"no-such-program-anywhere", {}, folder.path(), {}}).started);
}

TEST(ProcessStart, ADetachedProcessRunsInItsFolderInASessionOfItsOwn) {
    TempFolder folder;
    ASSERT_TRUE(startDetached({"/bin/sh",
                               {"-c", "cut -d' ' -f6 /proc/$$/stat > sid.txt; pwd > where.txt"},
                               folder.path(),
                               {}}));
    for (int i = 0; i < 100 && folder.read("where.txt").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(folder.read("where.txt"), folder.path().string() + "\n");
    EXPECT_NE(std::stol(folder.read("sid.txt")), static_cast<long>(::getsid(0)));
}

TEST(ProcessStart, WaitingGivesTheExitStatusAndEndsAHangingProgram) {
    TempFolder folder;
    const ProcessResult failed =
        runAndWait({"/bin/sh", {"-c", "echo out; exit 3"}, {}, folder / "log.txt"});
    EXPECT_TRUE(failed.started);
    EXPECT_EQ(failed.exitStatus, 3);
    EXPECT_EQ(folder.read("log.txt"), "out\n");

    const ProcessResult hung =
        runAndWait({"/bin/sleep", {"30"}, {}, {}}, std::chrono::milliseconds(200));
    EXPECT_TRUE(hung.timedOut);
    EXPECT_EQ(hung.exitStatus, 128 + 9);
}

TEST(ProcessStart, OutputNeverGoesThroughALinkAtItsPath) {
    TempFolder folder;
    folder.write("outside.txt", "keep");
    const auto linkAt = [&](const char* name) {
        std::filesystem::create_symlink(folder / "outside.txt", folder / name);
        return folder / name;
    };
    // The interpreter's redirect (a page), a waited and a detached start (ftp.log).
    folder.write("b.bat", crlf({"printf page >page.html", "printf more >>more.html"}));
    linkAt("page.html");
    linkAt("more.html");
    runBatchFile(folder / "b.bat", folder.path());
    runAndWait({"/bin/sh", {"-c", "echo waited"}, {}, linkAt("waited.log"), false, true});
    ASSERT_TRUE(startDetached({"/bin/sh", {"-c", "echo detached"}, {}, linkAt("ftp.log")}));
    for (int i = 0; i < 100 && folder.read("ftp.log").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    EXPECT_EQ(folder.read("outside.txt"), "keep");
    EXPECT_EQ(folder.read("page.html"), "page");
    EXPECT_EQ(folder.read("more.html"), "more");
    EXPECT_EQ(folder.read("waited.log"), "waited\n");
    EXPECT_EQ(folder.read("ftp.log"), "detached\n");
    for (const char* name : {"page.html", "more.html", "waited.log", "ftp.log"})
        EXPECT_FALSE(std::filesystem::is_symlink(folder / name)) << name;
}

} // namespace quenmark
