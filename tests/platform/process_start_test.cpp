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

} // namespace quenmark
