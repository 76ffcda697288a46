#include "core/main_folder.h"
#include "platform/batch_interpreter.h"
#include "platform/batch_line_pool.h"
#include "platform/batch_runner.h"
#include "platform/folder_run_lock.h"
#include "platform/process_group.h"
#include "platform/process_start.h"
#include "platform/upload_runner.h"
#include "tests/support/stand_in_processes.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace quenmark {

namespace {

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
    return !stat.empty() && stat.substr(stat.rfind(')') + 2, 1) != "Z"; // not a zombie
}

} // namespace

// A program that cannot run is reported at its start; one that runs gives its
// exit status. Output, a started program's (ftp.log) or the interpreter's
// redirect (a page), never goes through a link at its path. The browser gets
// standard input, output and error and nothing else of ours, however many run
// at once. (The shell keeps its script at 10 and above.)
TEST(ProcessStart, AProgramGetsItsOwnOutputAndNothingElseOfOurs) {
    TempFolder folder;
    EXPECT_FALSE(ChildProcess::start({"no-such-program-anywhere", {}, folder.path(), {}}));
    EXPECT_FALSE(ChildProcess::start({"/bin/true", {}, folder / "no-such-folder", {}}));
    folder.write("outside.txt", "keep");
    for (const char* name : {"page.html", "more.html", "ftp.log"})
        std::filesystem::create_symlink(folder / "outside.txt", folder / name);
    auto client = ChildProcess::start(
        {"/bin/sh", {"-c", "echo waited; exit 3"}, {}, folder / "ftp.log", false, true});
    ASSERT_TRUE(client);
    EXPECT_EQ(client->wait(), 3);
    writeScript(folder, "lynx", "ls /proc/$$/fd\n");
    folder.write("b.bat", crlf({"printf page >page.html", "printf more >>more.html", "lynx >a.txt",
                                "lynx >b.txt", "lynx >c.txt"}));
    const int ours = ::open("/dev/null", O_RDONLY); // inherited unless the start closes it
    for (int jobs : {1, 3}) {
        runBatchFile(folder / "b.bat", folder.path(), kProgramTimeLimit, jobs);
        for (const char* page : {"a.txt", "b.txt"}) {
            std::istringstream listed(folder.read(page));
            std::string low;
            for (int fd; listed >> fd;)
                if (fd < 10)
                    low += std::to_string(fd) + " ";
            EXPECT_EQ(low, "0 1 2 ") << page << " with " << jobs << " at once";
        }
    }
    ::close(ours);
    EXPECT_EQ(folder.read("outside.txt"), "keep");
    for (const auto& [name, content] :
         {std::pair{"page.html", "page"}, {"more.html", "moremore"}, {"ftp.log", "waited\n"}}) {
        EXPECT_EQ(folder.read(name), content) << name;
        EXPECT_FALSE(std::filesystem::is_symlink(folder / name)) << name;
    }
}

// A line that cannot even be started is an error of that line: the others run.
TEST(ProcessStart, ALineThatThrowsEndsOnlyItself) {
    int ended = 0;
    const auto count = [&] { ++ended; };
    const auto throws = []() -> std::optional<ChildProcess> { throw std::runtime_error("no"); };
    const auto starts = [] { return ChildProcess::start({"/bin/true", {}, {}, {}}); };
    {
        BatchLinePool pool(2, kProgramTimeLimit);
        pool.add("a", throws, count);
        pool.add("b", starts, count);
    }
    EXPECT_EQ(ended, 2);
}

// A batch whose one program hangs, and starts a process that hangs too (both
// write their ids to "pids"), is ended with both, by its run or a later one.
// The run's lock keeps a second run out until the first lets go; the batch
// does not hold it on its own.
TEST(RunProcesses, EndingTheBatchEndsEveryProcessItStarted) {
    for (bool byALaterRun : {false, true}) {
        TempFolder folder;
        writeScript(folder, "lynx/lynx",
                    "echo $$ >>../pids; sleep 43 & echo $! >>../pids; sleep 30\n");
        folder.makeFolders({"download"});
        folder.write("download.bat",
                     crlf({"cd lynx", "lynx -source x >..\\download\\a.html", "cd .."}));
        FolderRunLock first, second;
        ASSERT_EQ(first.take(folder.path()), RunLock::Result::Taken);
        BatchRunner starter(QUENMARK_EXE);
        ASSERT_TRUE(starter.startBatch(folder.path(), "download.bat"));
        EXPECT_EQ(second.take(folder.path()), RunLock::Result::Busy);
        first.release();
        EXPECT_EQ(second.take(folder.path()), RunLock::Result::Taken);
        ASSERT_TRUE(waitFor([&] { return pidsOf(folder).size() == 2; }));
        EXPECT_TRUE(starter.batchRunning());
        EXPECT_TRUE(folder.exists(kBatchRecordFile));
        if (byALaterRun) {
            BatchRunner(QUENMARK_EXE).endLeftoverBatch(folder.path());
            EXPECT_TRUE(waitFor([&] { return !starter.batchRunning(); }));
        } else {
            starter.endBatch();
        }
        // Ended, not waited for: SIGKILL takes a moment.
        for (int pid : pidsOf(folder))
            EXPECT_TRUE(waitFor([pid] { return !running(pid); }))
                << pid << (byALaterRun ? " by a later run" : "");
        EXPECT_FALSE(folder.exists(kBatchRecordFile));
        std::filesystem::remove_all(folder.path());
        EXPECT_EQ(first.take(folder.path()), RunLock::Result::Failed);
    }
}

// Processes of the batch end all the time while the scan reads their files in
// /proc; one that ends halfway through being read is simply gone. Sixteen
// children at a time, reaped together, make that happen within a second. A
// scan for another marker (a record of a group that is somebody else's by
// now) ends nothing.
TEST(RunProcesses, ProcessesEndingDuringTheScanAreSkipped) {
    TempFolder folder;
    const std::string churn = "while :; do for i in $(seq 16); do (:) & done; wait; done";
    ProcessSpec spec{"/bin/sh", {"-c", churn}, folder.path(), {}};
    spec.environment = {std::string(kBatchMarkerName) + "=0123456789abcdef01234567"};
    spec.ownSession = true;
    std::optional<ChildProcess> leader = ChildProcess::start(spec);
    ASSERT_TRUE(leader);
    const std::string otherMarker = std::string(kBatchMarkerName) + "=ffffffffffffffffffffffff";
    std::atomic<bool> threw = false;
    const auto scan = [&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!threw && std::chrono::steady_clock::now() < until) {
            try {
                endMarkedProcesses(leader->pid(), otherMarker);
            } catch (const std::exception&) {
                threw = true;
            }
        }
    };
    std::thread other(scan);
    scan();
    other.join();
    EXPECT_FALSE(threw);
    EXPECT_TRUE(running(leader->pid()));
    endMarkedProcesses(leader->pid(), spec.environment[0]);
    EXPECT_TRUE(waitFor([&] { return !running(leader->pid()); }));
    leader->end();
    leader->wait();
}

// A client that does not stop by itself is ended at the time limit, with what
// it started; its transcript says why, and its record goes.
TEST(RunProcesses, AnUploadPastItsTimeLimitIsEnded) {
    TempFolder folder;
    writeScript(folder, "client", "echo $$ >pids; sleep 41 & echo $! >>pids; sleep 40\n");
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

} // namespace quenmark
