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
    std::vector<std::string> summaries;

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
    std::vector<std::string> transcripts;
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
    void expectStopped(const std::string& message) const {
        EXPECT_EQ(observer.messages, std::vector{errorMessage(message)});
        EXPECT_TRUE(observer.buttons);
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

TEST(UpdateRun, DamagedRosterIsReportedLikeAMissingOne) {
    RunInFolder f;
    f.folder.write("roster.txt", crlf({"Ann", "AN", "red"}));
    f.run.updateCommand();
    ASSERT_EQ(f.observer.messages.size(), 1u);
    EXPECT_EQ(f.observer.messages[0].text,
              "\"roster.txt\" is damaged: its last member is incomplete.");
    EXPECT_FALSE(f.observer.buttons);
    EXPECT_FALSE(f.run.timerOn());
    EXPECT_FALSE(f.lock.held);
}

// Every stop before the processing half leaves the window idle and errors.txt
// as it was; a run that started no batch wrote nothing.
TEST(UpdateRun, StopsBeforeProcessingReturnTheWindowToIdle) {
    const auto folderText = [](const std::string& name) {
        return "The folder \"" + name +
               "\" could not be found. Make sure it exists in the main folder.";
    };
    const struct {
        std::string missing = {};
        bool folderInPlace = false;
        bool lynxFound = true;
        bool lockBusy = false;
        bool batchStarts = true; // and then ends without the sentinel
        std::string message;
    } cases[] = {
        {.missing = "lynx", .message = folderText("lynx")},
        {.missing = "download", .message = folderText("download")},
        {.missing = "templates", .message = folderText("templates")},
        {.missing = "upload", .message = folderText("upload")},
        {.lynxFound = false,
         .message =
             "The program \"lynx\" could not be found. Install it, or put it in the lynx folder."},
        {.lockBusy = true, .message = "Another update is running in this folder."},
        {.missing = "settings.dat", .message = kSettingsMissing},
        {.missing = "templates/elite.html",
         .message = "\"templates/elite.html\" could not be found."},
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
        f.expectStopped(c.message);
        EXPECT_EQ(f.observer.caption, kIdleCaption);
        EXPECT_EQ(f.folder.read("errors.txt"), "Ann\r\n");
        if (f.processes.batches == 0) {
            EXPECT_EQ(f.observer.stages, (std::vector<int>{1, 0}));
            EXPECT_EQ(f.processes.leftoversEnded, 0);
            EXPECT_TRUE(f.folder.exists("download/EndOfRoster.html") || c.missing == "download");
        } else {
            EXPECT_EQ(f.observer.stages, (std::vector<int>{1, 2, 0}));
            EXPECT_FALSE(f.folder.exists("download/EndOfRoster.html"));
        }
    }
}

// A stop in the processing half: the operator sees why, the buttons come back,
// the progress line stays; no page after the stop, no ftp.dat, no upload.
TEST(UpdateRun, StopsInTheProcessingHalfGoNoFurther) {
    const struct {
        const char* gone; // after the Update command, before the sentinel
        std::string message;
        bool pagesWritten;
    } cases[] = {
        {"settings.dat", kSettingsMissing, false},
        {"roster.txt",
         "\"roster.txt\" could not be found. Make sure it is named correctly and in the main "
         "folder.",
         false},
        {"times.dat",
         "\"times.dat\" was not found. Go into Members, then Enforce Times to have a new file "
         "created.",
         false},
        {"templates/stage.html", "\"templates/stage.html\" could not be found.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gone);
        RunInFolder f;
        f.folder.write("roster.txt", crlf({"Ann", "AN", "red", "http://a", "", ""}));
        f.folder.write("times.dat", "");
        f.run.updateCommand();
        f.folder.write("download/Ann.html", kGoodPage);
        std::filesystem::remove(f.folder / c.gone);
        f.downloadsDone();
        f.expectStopped(c.message);
        EXPECT_EQ(f.observer.caption, kBusyCaption);
        EXPECT_EQ(f.observer.stages, (std::vector<int>{1, 2, 3}));
        EXPECT_GE(f.processes.batchesEnded, 1);
        EXPECT_TRUE(f.folder.exists("download/EndOfRoster.html"));
        EXPECT_EQ(f.folder.exists("upload/elite.htm"), c.pagesWritten);
        EXPECT_FALSE(f.folder.exists("upload/stage1.htm"));
        EXPECT_FALSE(f.folder.exists("ftp.dat"));
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

// How a run that wrote its pages ends: uploading, unable to start the upload
// (the command line exits with the upload's failure), or told to skip it.
TEST(UpdateRun, ARunThatWroteItsPagesEndsIdleWithItsUploadOutcome) {
    const OperatorMessage almostDone{"Almost done!", "Uploading now - Have a nice day!",
                                     MessageIcon::Information};
    const struct {
        bool uploadStarts;
        bool skipped;
        std::vector<OperatorMessage> messages;
        std::vector<int> stages;
        RunOutcome outcome;
        std::string upload;
    } cases[] = {
        {true, false, {almostDone}, {1, 2, 3, 4, 0}, RunOutcome::Uploading, "uploading"},
        {false,
         false,
         {errorMessage("The upload could not be started."), almostDone},
         {1, 2, 3, 4, 0},
         RunOutcome::UploadFailed,
         "upload failed: The upload could not be started."},
        {true, true, {}, {1, 2, 3, 0}, RunOutcome::UploadSkipped, "upload skipped"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.upload);
        RunInFolder f;
        f.processes.uploadStarts = c.uploadStarts;
        f.run.setUploadSkipped(c.skipped);
        f.run.updateCommand();
        f.downloadsDone();
        EXPECT_EQ(f.observer.messages, c.messages);
        EXPECT_EQ(f.observer.stages, c.stages);
        EXPECT_EQ(f.observer.caption, kIdleCaption);
        EXPECT_TRUE(f.observer.buttons);
        EXPECT_FALSE(f.run.timerOn());
        EXPECT_EQ(f.lock.held, c.outcome == RunOutcome::Uploading); // until the upload ends
        EXPECT_GE(f.processes.batchesEnded, 1);
        EXPECT_TRUE(f.folder.exists("upload/points.htm"));
        EXPECT_TRUE(f.folder.exists("ftp.dat"));
        EXPECT_EQ(f.processes.uploads, c.skipped ? 0 : 1);
        EXPECT_EQ(f.run.outcome(), c.outcome);
        EXPECT_EQ(f.observer.summaries,
                  std::vector{"Last run 14:05: 0 members, 0 pages could not be read, " + c.upload});
        // A second tick after the run does nothing.
        f.run.tick();
        EXPECT_EQ(f.observer.messages.size(), c.messages.size());
    }
}

// The upload belongs to the run: the folder stays its own until the upload
// ends, an Update meanwhile is refused, the window's end ends the upload, and
// the run's time limit bounds the upload too.
TEST(UpdateRun, TheUploadKeepsTheFolderUntilItEnds) {
    RunInFolder f;
    f.run.updateCommand();
    f.downloadsDone();
    EXPECT_EQ(f.processes.leftoverUploadsEnded, 1);
    EXPECT_EQ(f.processes.uploadLimit, kDefaultUploadTimeLimit);
    f.observer.messages.clear();
    f.run.updateCommand();
    EXPECT_EQ(f.observer.messages,
              std::vector{errorMessage("Another update is running in this folder.")});
    EXPECT_TRUE(f.lock.held && f.processes.batches == 1);
    f.processes.uploadEnded({0, ""});
    EXPECT_FALSE(f.lock.held);
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
// upload, and a failed upload is a message with the whole reason.
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
    ASSERT_TRUE(f.processes.uploadEnded && f.processes.uploadProgress);
    f.processes.uploadProgress(0, 26);
    f.processes.uploadProgress(3, 26);
    EXPECT_EQ(f.observer.counts.back(), "3 of 26 files");
    f.processes.uploadEnded({1, "ftp> open host\nUpload failed: Login to host failed: 530\n"});
    EXPECT_EQ(f.run.outcome(), RunOutcome::UploadFailed);
    EXPECT_EQ(
        f.observer.messages.back(),
        (OperatorMessage{"Upload failed", "Login to host failed: 530", MessageIcon::Critical}));
    f.processes.uploadEnded({0, "ftp> bye\n"});
    EXPECT_EQ(f.run.outcome(), RunOutcome::Finished);
    EXPECT_EQ(f.observer.summaries,
              (std::vector<std::string>{summary + "uploading",
                                        summary + "upload failed: Login to host failed: 530",
                                        summary + "upload finished"}));
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

// Not one page read (the connection down): the run stops before it writes
// anything; one page read is enough to go on.
TEST(UpdateRun, ARunWithNotOnePageReadStopsWithNothingChanged) {
    RunInFolder f;
    f.folder.write("roster.txt", crlf({"Ann", "AN", "red", "http://a", "", "", "Bob", "BO", "red",
                                       "http://b", "", ""}));
    f.folder.write("times.dat", "");
    f.folder.write("errors.txt", "Cy\r\n");
    f.folder.write("download/Ann.txt", "old times\r\n");
    for (const std::string& bobsPage : {""s, kGoodPage}) {
        f.run.updateCommand();
        f.folder.write("download/Ann.html", "<p>Service Unavailable</p>");
        f.folder.write("download/Bob.html", bobsPage);
        f.downloadsDone();
        const bool read = !bobsPage.empty();
        EXPECT_EQ(f.observer.summaries.back().find("stopped: No member page could be read; check "
                                                   "the connection. Nothing was published."),
                  read ? std::string::npos : 16u);
        EXPECT_EQ(f.folder.read("errors.txt"), read ? "Ann\r\n" : "Cy\r\n");
        EXPECT_EQ(f.folder.exists("download/Bob.txt"), read);
        EXPECT_EQ(f.folder.exists("upload/elite.htm"), read);
        EXPECT_EQ(f.processes.uploads, read ? 1 : 0);
    }
}

TEST(RunSummary, TextsAndUploadReasons) {
    RunSummary one{"09:30", false, "", 1, 1, UploadState::Skipped, ""};
    EXPECT_EQ(one.text(), "Last run 09:30: 1 member, 1 page could not be read, upload skipped");
    RunSummary stopped{"09:30", true, "two\r\nlines", 5, 0, UploadState::Running, ""};
    EXPECT_EQ(stopped.text(), "Last run 09:30: stopped: two  lines");
    EXPECT_EQ(uploadFailureReason(1, "a\r\nUpload failed: cd x failed: 550\r\n"),
              "cd x failed: 550");
    EXPECT_EQ(uploadFailureReason(137, "ftp> open host\n"), "the FTP client ended with status 137");
}

} // namespace quenmark
