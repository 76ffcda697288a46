#include "core/main_folder.h"
#include "platform/batch_runner.h"
#include "platform/folder_run_lock.h"
#include "platform/process_start.h"
#include "platform/upload_runner.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace quenmark {

namespace {

// A batch whose one program hangs, and starts a process that hangs too; both
// write their process ids to "pids".
void prepareHangingBatch(const TempFolder& folder) {
    folder.makeFolders({"lynx", "download"});
    folder.write("lynx/lynx", "#!/bin/sh\necho $$ >>../pids; sleep 43 & echo $! >>../pids; "
                              "sleep 30\n");
    ::chmod((folder / "lynx/lynx").c_str(), 0755);
    folder.write("download.bat",
                 crlf({"cd lynx", "lynx -source x >..\\download\\a.html", "cd .."}));
}

bool waitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 200 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return condition();
}

std::vector<int> pidsOf(const TempFolder& folder) {
    std::vector<int> pids;
    std::istringstream in(folder.read("pids"));
    for (int pid; in >> pid;)
        pids.push_back(pid);
    return pids;
}

bool running(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat(std::istreambuf_iterator<char>(in), {});
    const std::size_t close = stat.rfind(')');
    return close != std::string::npos && stat.size() > close + 2 && stat[close + 2] != 'Z';
}

} // namespace

TEST(RunProcesses, EndingTheBatchEndsEveryProcessItStarted) {
    for (bool byALaterRun : {false, true}) {
        TempFolder folder;
        prepareHangingBatch(folder);
        BatchRunner starter(QUENMARK_EXE);
        ASSERT_TRUE(starter.startBatch(folder.path(), "download.bat"));
        ASSERT_TRUE(waitFor([&] { return pidsOf(folder).size() == 2; }));
        EXPECT_TRUE(starter.batchRunning());
        EXPECT_TRUE(folder.exists(kBatchRecordFile));
        if (byALaterRun) {
            BatchRunner later(QUENMARK_EXE);
            later.endLeftoverBatch(folder.path());
            EXPECT_TRUE(waitFor([&] { return !starter.batchRunning(); }));
        } else {
            starter.endBatch();
        }
        // Ended, not waited for: SIGKILL takes a moment.
        for (int pid : pidsOf(folder))
            EXPECT_TRUE(waitFor([pid] { return !running(pid); }))
                << pid << (byALaterRun ? " by a later run" : "");
        EXPECT_FALSE(folder.exists(kBatchRecordFile));
    }
}

// A record whose group is somebody else's by now: nothing is ended.
TEST(RunProcesses, ARecordOfAGroupWithoutTheMarkerEndsNothing) {
    TempFolder folder;
    ProcessSpec spec{"/bin/sleep", {"30"}, folder.path(), {}};
    spec.ownSession = true;
    std::optional<ChildProcess> other = ChildProcess::start(spec);
    ASSERT_TRUE(other);
    folder.write(kBatchRecordFile, crlf({" " + std::to_string(other->pid()) + " ",
                                         "QUENMARK_BATCH=0123456789abcdef01234567"}));
    BatchRunner starter(QUENMARK_EXE);
    starter.endLeftoverBatch(folder.path());
    EXPECT_TRUE(running(other->pid()));
    other->end();
    other->wait();
}

// A client that does not stop by itself is ended at the time limit, with what
// it started; its transcript says why, and its record goes.
TEST(RunProcesses, AnUploadPastItsTimeLimitIsEnded) {
    TempFolder folder;
    folder.write("client", "#!/bin/sh\necho $$ >pids; sleep 41 & echo $! >>pids; sleep 40\n");
    ::chmod((folder / "client").c_str(), 0755);
    UploadRunner uploads(UploadRunner::Waiting::WaitForEnd, folder / "client");
    std::optional<UploadEnd> end;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(uploads.startUpload(folder.path(), "ftp.dat", std::chrono::seconds(1),
                                    {{}, [&end](const UploadEnd& e) { end = e; }}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_TRUE(end);
    EXPECT_NE(end->transcript.find("Upload failed: The upload did not finish within 1 seconds."),
              std::string::npos)
        << end->transcript;
    EXPECT_FALSE(folder.exists("ftp.pid"));
    ASSERT_EQ(pidsOf(folder).size(), 2u);
    EXPECT_TRUE(waitFor([&] { return !running(pidsOf(folder)[1]); }));
}

// The lock keeps a second run out until the first lets go, and the batch the
// first started does not hold it on its own.
TEST(RunProcesses, TheFolderLockIsHeldByOneRunAtATime) {
    TempFolder folder;
    prepareHangingBatch(folder);
    FolderRunLock first;
    FolderRunLock second;
    BatchRunner starter(QUENMARK_EXE);
    ASSERT_EQ(first.take(folder.path()), RunLock::Result::Taken);
    ASSERT_TRUE(starter.startBatch(folder.path(), "download.bat"));
    EXPECT_EQ(second.take(folder.path()), RunLock::Result::Busy);
    first.release();
    EXPECT_EQ(second.take(folder.path()), RunLock::Result::Taken);
    TempFolder missing;
    std::filesystem::remove_all(missing.path());
    EXPECT_EQ(first.take(missing.path()), RunLock::Result::Failed);
}

TEST(RunProcesses, ProgramsAreFoundInTheFolderFirstThenOnThePath) {
    TempFolder folder;
    for (const char* program : {"lynx/lynx", "bin/lynx", "bin/tool", "other/tool"}) {
        folder.write(program, "#!/bin/sh\n");
        ::chmod((folder / program).c_str(), 0755);
    }
    folder.write("lynx/plain", "not executable");
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", ((folder / "bin").string() + ":" + (folder / "other").string()).c_str(), 1);
    EXPECT_EQ(findProgram("lynx", folder / "lynx"), folder / "lynx/lynx");
    EXPECT_EQ(findProgram("lynx", folder / "download"), folder / "bin/lynx");
    EXPECT_EQ(findProgram("tool", folder / "lynx"), folder / "bin/tool");
    EXPECT_EQ(findProgram("plain", folder / "lynx"), std::nullopt);
    EXPECT_EQ(findProgram("sh", folder / "lynx"), std::nullopt);
    ::setenv("PATH", path.c_str(), 1);
}

} // namespace quenmark
