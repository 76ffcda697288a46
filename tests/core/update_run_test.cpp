#include "core/publish/upload.h"
#include "core/update_run.h"
#include "tests/support/member_times_fixture.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <gtest/gtest.h>

namespace quenmark {

using namespace std::string_literals;

namespace {

// Records what a window would show, in order.
struct RecordingObserver : RunObserver {
    std::string caption = kIdleCaption;
    bool buttons = true;
    std::vector<OperatorMessage> messages;
    std::vector<int> stages;
    std::vector<std::string> counts;
    std::vector<std::string> summaries, transcripts;

    void captionChanged(const std::string& c) override { caption = c; }
    void stageChanged(int s) override { stages.push_back(s); }
    void buttonsEnabledChanged(bool enabled) override { buttons = enabled; }
    void timerChanged(bool) override {}
    void showMessage(const OperatorMessage& m) override { messages.push_back(m); }
    void downloadCountChanged(int written, int total) override {
        counts.push_back(downloadCountText(written, total));
    }
    void summaryChanged(const std::string& summary) override { summaries.push_back(summary); }
    void uploadCountChanged(int sent, int total) override {
        counts.push_back(uploadCountText(sent, total));
    }
    void uploadEnded(const UploadEnd& end) override { transcripts.push_back(end.transcript); }
};

struct FixedClock : Clock {
    std::string dateStamp() override { return "Sunday, 6 December 2026 at 17:45"; }
    std::string timeOfDay() override { return "14:05"; }
};

const std::string kGoodPage = join(pageLines([](int) { return "1:00"s; }), "\n");

const std::string kSettingsMissing = "\"settings.dat\" could not be found. Click Settings to "
                                     "create a new file with default settings.";

// A run in a main folder with everything a run checks before its downloads,
// and an empty roster.
struct RunInFolder {
    RunInFolder() {
        folder.write("roster.txt", "");
        folder.makeFolders({"lynx", "download", "templates", "upload"});
        for (const char* name : {"elite", "elite2", "stage", "diff", "leaders", "roster", "points"})
            folder.write(std::string("templates/") + name + ".html", "<html>\r\n");
        folder.write("settings.dat",
                     crlf({"host", "user", "pw", "yellow", " 0 ", " 3 ", " 1 ", " 0 ", " 1 ", " 1 ",
                           " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
    }
    // The batch wrote the last page and ended; the next tick processes.
    void downloadsDone() {
        folder.write("download/EndOfRoster.html", "");
        processes.running = false;
        run.tick();
    }
    // The run stopped with the message and holds nothing: no batch, no lock, no upload.
    void expectStopped(const std::string& message, bool buttons = true) const {
        EXPECT_EQ(observer.messages, std::vector{errorMessage(message)});
        EXPECT_EQ(observer.buttons, buttons);
        EXPECT_EQ(observer.summaries, std::vector{"Last run 14:05: stopped: " + message});
        EXPECT_FALSE(run.timerOn());
        EXPECT_EQ(run.outcome(), RunOutcome::Stopped);
        EXPECT_FALSE(lock.held);
        EXPECT_FALSE(folder.exists("download.bat"));
        EXPECT_EQ(processes.uploads, 0);
    }

    TempFolder folder;
    RecordingObserver observer;
    StandInProcesses processes;
    StandInLock lock;
    FixedClock clock;
    UpdateRun run{folder.path(), processes, processes, lock, clock, observer};
};

} // namespace

// Every stop before the processing half leaves the window idle and errors.txt
// as it was; a run that started no batch wrote nothing. A damaged roster is
// the exception: the window stays busy, only Exit works. One row per check:
// the last folder and the last template stand for the lists.
TEST(UpdateRun, StopsBeforeProcessingReturnTheWindowToIdle) {
    const struct {
        std::string missing = {};
        bool folderInPlace = false, lynxFound = true, lockBusy = false;
        bool batchStarts = true; // and then ends without the sentinel
        std::string roster = {};
        std::string message;
    } cases[] = {
        {.missing = "upload",
         .message = "The folder \"upload\" could not be found. Make sure it exists in the main "
                    "folder."},
        {.lynxFound = false,
         .message =
             "The program \"lynx\" could not be found. Install it, or put it in the lynx folder."},
        {.lockBusy = true, .message = "Another update is running in this folder."},
        {.roster = crlf({"Ann", "AN", "red"}),
         .message = "\"roster.txt\" is damaged: its last member is incomplete."},
        {.missing = "settings.dat", .message = kSettingsMissing},
        {.missing = "templates/points.html",
         .message = "\"templates/points.html\" could not be found."},
        // A folder in its place: there, but the run could not read it.
        {.missing = "settings.dat",
         .folderInPlace = true,
         .message = "\"settings.dat\" could not be read."},
        {.missing = "templates/diff.html",
         .folderInPlace = true,
         .message = "\"templates/diff.html\" could not be read."},
        {.batchStarts = false, .message = "The download could not be started."},
        {.message = "The downloads ended before the last page was fetched. Check that the folder "
                    "\"download\" can be written."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        RunInFolder f;
        f.folder.write("errors.txt", "Ann\r\n");
        f.folder.write("download/EndOfRoster.html", "");
        f.folder.write("roster.txt", c.roster);
        if (!c.missing.empty())
            std::filesystem::remove_all(f.folder / c.missing);
        if (c.folderInPlace)
            std::filesystem::create_directory(f.folder / c.missing);
        f.processes.lynxFound = c.lynxFound;
        f.processes.batchStarts = c.batchStarts;
        f.lock.heldElsewhere = c.lockBusy;
        f.run.updateCommand();
        f.run.tick();
        f.run.tick();
        const bool stuck = !c.roster.empty();
        f.expectStopped(c.message, !stuck);
        EXPECT_EQ(f.observer.caption, stuck ? kBusyCaption : kIdleCaption);
        EXPECT_EQ(f.folder.read("errors.txt"), "Ann\r\n");
        if (f.processes.batches == 0) {
            EXPECT_EQ(f.observer.stages, (std::vector<int>{1, 0}));
            EXPECT_EQ(f.processes.leftoversEnded, 0);
            EXPECT_TRUE(f.folder.exists("download/EndOfRoster.html"));
        } else {
            EXPECT_EQ(f.observer.stages, (std::vector<int>{1, 2, 0}));
            EXPECT_FALSE(f.folder.exists("download/EndOfRoster.html"));
        }
    }
}

// How a run that went through its downloads ends. Ann's page is an error page
// and Bob's reads whole unless it is empty: not one page read stops the run
// before it writes anything. A stop in the processing half (a file gone during
// the downloads) shows why and gives the buttons back but keeps the progress
// line; no page after the stop, no ftp.dat, no upload. A run that wrote its
// pages ends idle: uploading, unable to start the upload, or told to skip it.
TEST(UpdateRun, HowARunEndsAfterItsDownloads) {
    const OperatorMessage almostDone{"Almost done!", "Uploading now - Have a nice day!",
                                     MessageIcon::Information};
    const std::string noPage =
        "No member page could be read; check the connection. Nothing was published.";
    const struct {
        const char* gone = ""; // after the Update command, before the sentinel
        bool bobReads = true, uploadStarts = true, skipped = false;
        RunOutcome outcome = RunOutcome::Stopped;
        std::string text; // the stop's message, or the summary's end
        bool pagesWritten = false;
        bool pagesRead = false; // errors.txt holds this run's lines
        bool idle = false;      // a stop that gives the window back idle
    } cases[] = {
        {.gone = "settings.dat", .text = kSettingsMissing},
        {.gone = "roster.txt",
         .text = "\"roster.txt\" could not be found. Make sure it is named correctly and in the "
                 "main folder."},
        {.gone = "times.dat",
         .text = "\"times.dat\" was not found. Go into Members, then Enforce Times to have a new "
                 "file created.",
         .pagesRead = true},
        {.gone = "templates/stage.html",
         .text = "\"templates/stage.html\" could not be found.",
         .pagesWritten = true},
        {.bobReads = false, .text = noPage, .idle = true},
        {.outcome = RunOutcome::Uploading, .text = "uploading", .pagesWritten = true},
        {.uploadStarts = false,
         .outcome = RunOutcome::UploadFailed,
         .text = "upload failed: The upload could not be started.",
         .pagesWritten = true},
        {.skipped = true,
         .outcome = RunOutcome::UploadSkipped,
         .text = "upload skipped",
         .pagesWritten = true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RunInFolder f;
        f.folder.write("roster.txt", crlf({"Ann", "AN", "red", "http://a", "", "", "Bob", "BO",
                                           "red", "http://b", "", ""}));
        f.folder.write("times.dat", "");
        f.folder.write("errors.txt", "Cy\r\n");
        f.processes.uploadStarts = c.uploadStarts;
        f.run.setUploadSkipped(c.skipped);
        f.run.updateCommand();
        f.folder.write("download/Ann.html", "<p>Service Unavailable</p>");
        f.folder.write("download/Bob.html", c.bobReads ? kGoodPage : "");
        if (*c.gone)
            std::filesystem::remove(f.folder / c.gone);
        f.downloadsDone();
        const bool stopped = c.outcome == RunOutcome::Stopped;
        if (stopped) {
            f.expectStopped(c.text);
            EXPECT_EQ(f.observer.caption, c.idle ? kIdleCaption : kBusyCaption);
            EXPECT_EQ(f.observer.stages, (c.idle ? std::vector{1, 2, 3, 0} : std::vector{1, 2, 3}));
            EXPECT_TRUE(f.folder.exists("download/EndOfRoster.html"));
            EXPECT_FALSE(f.folder.exists("upload/stage1.htm"));
        } else {
            std::vector<OperatorMessage> shown;
            if (!c.uploadStarts)
                shown.push_back(errorMessage("The upload could not be started."));
            if (!c.skipped)
                shown.push_back(almostDone);
            EXPECT_EQ(f.observer.messages, shown);
            EXPECT_EQ(f.observer.stages,
                      (c.skipped ? std::vector{1, 2, 3, 0} : std::vector{1, 2, 3, 4, 0}));
            EXPECT_EQ(f.observer.caption, kIdleCaption);
            EXPECT_TRUE(f.observer.buttons);
            EXPECT_FALSE(f.run.timerOn());
            EXPECT_EQ(f.lock.held, c.outcome == RunOutcome::Uploading); // until the upload ends
            EXPECT_EQ(f.processes.uploads, c.skipped ? 0 : 1);
            EXPECT_EQ(
                f.observer.summaries,
                std::vector{"Last run 14:05: 2 members, 1 page could not be read, " + c.text});
        }
        EXPECT_EQ(f.run.outcome(), c.outcome);
        EXPECT_GE(f.processes.batchesEnded, 1);
        EXPECT_EQ(f.folder.exists("upload/elite.htm"), c.pagesWritten);
        EXPECT_EQ(f.folder.exists("upload/points.htm"), !stopped);
        EXPECT_EQ(f.folder.exists("ftp.dat"), !stopped);
        EXPECT_EQ(f.folder.read("errors.txt"),
                  c.pagesWritten || c.pagesRead ? "Ann - No backup!\r\n" : "Cy\r\n");
        EXPECT_EQ(f.folder.exists("download/Bob.txt"), c.pagesWritten);
        // A second tick after the run does nothing.
        const std::size_t shown = f.observer.messages.size();
        f.run.tick();
        EXPECT_EQ(f.observer.messages.size(), shown);
    }
}

// Only the sentinel of this run's own batch counts: written after the batch
// was, and seen once the batch has ended.
TEST(UpdateRun, ASentinelCountsOnlyOnceTheBatchHasEndedAndWhenItIsNewer) {
    RunInFolder f;
    f.processes.running = true;
    f.run.updateCommand();
    EXPECT_TRUE(f.lock.held);
    EXPECT_EQ(f.processes.leftoversEnded, 1);
    const auto sentinel = f.folder / "download/EndOfRoster.html";
    f.folder.write("download/EndOfRoster.html", "");
    f.run.tick();
    f.run.tick();
    EXPECT_TRUE(f.run.timerOn());
    EXPECT_TRUE(f.observer.messages.empty());

    f.processes.running = false;
    const auto batchWritten = std::filesystem::last_write_time(f.folder / "download.bat");
    std::filesystem::last_write_time(sentinel, batchWritten - std::chrono::seconds(1));
    f.run.tick();
    EXPECT_TRUE(f.run.timerOn());
    std::filesystem::last_write_time(sentinel, batchWritten);
    f.run.tick();
    EXPECT_FALSE(f.run.timerOn());
    EXPECT_EQ(f.run.outcome(), RunOutcome::Uploading);
}

// --timeout, or the window closed while downloading: the batch ends and nothing
// of the downloads stays behind.
TEST(UpdateRun, AbandonedDownloadsLeaveNothingBehind) {
    const std::string why = "The downloads did not finish within 0 seconds.";
    for (const std::string how : {"abandoned", "timed out", "destroyed"}) {
        SCOPED_TRACE(how);
        RunInFolder f;
        f.processes.running = true;
        {
            UpdateRun own(f.folder.path(), f.processes, f.processes, f.lock, f.clock, f.observer);
            if (how == "timed out")
                own.setTimeLimit(std::chrono::seconds(0));
            own.updateCommand();
            ASSERT_TRUE(own.timerOn());
            f.folder.write("download/EndOfRoster.html", "");
            if (how == "abandoned")
                own.abandonDownloads();
            if (how == "timed out")
                own.tick();
            EXPECT_EQ(own.timerOn(), how == "destroyed");
            EXPECT_EQ(own.outcome(), how == "abandoned"   ? RunOutcome::Stopped
                                     : how == "timed out" ? RunOutcome::TimedOut
                                                          : RunOutcome::Downloading);
        }
        EXPECT_FALSE(f.processes.running);
        EXPECT_FALSE(f.lock.held);
        EXPECT_FALSE(f.folder.exists("download.bat"));
        EXPECT_FALSE(f.folder.exists("download/EndOfRoster.html"));
        if (how == "timed out") {
            EXPECT_EQ(f.observer.messages, std::vector{errorMessage(why)});
            EXPECT_EQ(f.observer.summaries, std::vector{"Last run 14:05: stopped: " + why});
        }
    }
}

// The window's time limit bounds the upload too, and the window's end ends it.
TEST(UpdateRun, TheWindowsTimeLimitBoundsTheUploadAndItsEndEndsIt) {
    RunInFolder f;
    {
        UpdateRun window(f.folder.path(), f.processes, f.processes, f.lock, f.clock, f.observer);
        window.setTimeLimit(std::chrono::seconds(100));
        window.updateCommand();
        f.folder.write("download/EndOfRoster.html", "");
        window.tick();
        const auto limit = f.processes.uploadLimit.count();
        EXPECT_TRUE(limit > 90 && limit <= 100) << limit;
    }
    EXPECT_TRUE(f.processes.uploadsEnded == 1 && !f.lock.held);
}

// The count moves as the batch notes its ended lines, then as the client sends
// its files; the summary and the outcome follow the run to the end of its
// upload, and a failed upload is a message with the whole reason. The upload
// belongs to the run: the folder stays its own until it ends, and an Update
// meanwhile is refused.
TEST(UpdateRun, CountsPagesAndSummarisesTheRunAndItsUpload) {
    RunInFolder f;
    f.folder.write("roster.txt", crlf({"Ann", "AN", "red", "http://a", "", "", "Bob", "BO", "red",
                                       "http://b", "", "", "Cy", "CY", "red", "http://c", "", ""}));
    f.folder.write("times.dat", "");
    f.processes.running = true;
    f.run.updateCommand();
    f.run.tick();
    f.folder.write("download.done", "../download/Ann.html\n");
    f.run.tick();
    f.run.tick();
    f.folder.write("download.done", "../download/Ann.html\n../download/Bob.html\n");
    f.folder.write("download/Ann.html", kGoodPage);
    f.downloadsDone();
    EXPECT_EQ(f.observer.counts,
              (std::vector<std::string>{"0 of 3 pages", "1 of 3 pages", "2 of 3 pages"}));
    const std::string summary = "Last run 14:05: 3 members, 2 pages could not be read, ";
    EXPECT_EQ(f.observer.summaries, std::vector{summary + "uploading"});
    EXPECT_EQ(f.processes.leftoverUploadsEnded, 1);
    EXPECT_EQ(f.processes.uploadLimit, kDefaultUploadTimeLimit);
    f.run.updateCommand();
    ASSERT_EQ(f.observer.messages.size(), 2u);
    EXPECT_EQ(f.observer.messages[1], errorMessage("Another update is running in this folder."));
    EXPECT_TRUE(f.lock.held && f.processes.batches == 1);
    ASSERT_TRUE(f.processes.uploadEnded && f.processes.uploadProgress);
    f.processes.uploadProgress(0, 26);
    f.processes.uploadProgress(3, 26);
    ASSERT_FALSE(f.observer.counts.empty());
    EXPECT_EQ(f.observer.counts.back(), "3 of 26 files");
    f.processes.uploadEnded({1, "ftp> open host\r\nUpload failed: Login to host failed: 530\r\n"});
    EXPECT_EQ(f.run.outcome(), RunOutcome::UploadFailed);
    EXPECT_FALSE(f.lock.held);
    EXPECT_EQ(
        f.observer.messages.back(),
        (OperatorMessage{"Upload failed", "Login to host failed: 530", MessageIcon::Critical}));
    f.processes.uploadEnded({0, "ftp> bye\n"});
    EXPECT_EQ(f.run.outcome(), RunOutcome::Finished);
    EXPECT_EQ(f.observer.summaries,
              (std::vector<std::string>{summary + "uploading",
                                        summary + "upload failed: Login to host failed: 530",
                                        summary + "upload finished"}));
    ASSERT_FALSE(f.observer.transcripts.empty());
    EXPECT_EQ(f.observer.transcripts.back(), "ftp> bye\n");
    // The end of an upload that a newer run outlived is not this run's.
    const UploadEndHandler old = f.processes.uploadEnded;
    const UploadProgressHandler oldProgress = f.processes.uploadProgress;
    f.run.updateCommand();
    old({0, "not this run's"});
    oldProgress(4, 26);
    EXPECT_EQ(f.observer.transcripts.back(), "ftp> bye\n");
    EXPECT_EQ(std::count(f.observer.counts.begin(), f.observer.counts.end(), "4 of 26 files"), 0);
}

TEST(RunSummary, TextsAndUploadReasons) {
    EXPECT_EQ((RunSummary{"09:30", false, "", 1, 1, UploadState::Skipped, ""}.text()),
              "Last run 09:30: 1 member, 1 page could not be read, upload skipped");
    EXPECT_EQ((RunSummary{"09:30", true, "two\r\nlines", 5, 0, UploadState::Running, ""}.text()),
              "Last run 09:30: stopped: two  lines");
    EXPECT_EQ(uploadFailureReason(137, "ftp> open host\n"), "the FTP client ended with status 137");
}

} // namespace quenmark
