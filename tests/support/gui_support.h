#pragma once

#include "core/ports/clock.h"
#include "gui/dialogs/member_windows.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <QListWidget>
#include <QObject>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <map>
#include <string>

namespace quenmark {

// One member's six lines in the roster format; the other fields come from the
// name, so a record that lost or swapped a field shows up in a comparison.
std::string memberLines(const std::string& name);

// One invalidchrs.dat entry: name, number form, empty line.
std::string numberEntry(const std::string& name, int number);

// roster.txt, banned.txt and invalidchrs.dat as given.
void writeMemberFiles(const TempFolder& folder, const std::string& roster,
                      const std::string& banned, const std::string& invalid = "");

// The control of that object name; the test program stops when it is missing.
QObject* namedControl(const QObject* window, const char* name);
template <typename Control> Control* control(const QObject* window, const char* name) {
    return qobject_cast<Control*>(namedControl(window, name));
}
void click(const QWidget* window, const char* button);

QStringList listTexts(const QListWidget* list);

// Message boxes answered by the test from here on, nothing shown yet.
void answerMessagesInTest();
// Every box shown so far as "title: text", followed by " (i)", " (!)", " (x)"
// or " (?)" for its icon and " [Yes/No]" for a question (" [Yes/No, No default]"
// when Enter answers No).
QStringList shownMessages();

class MembersDialog;

// A Members window over the folder, opened and shown as the main window shows
// it: closing it deletes it. Its own windows are kept in `windows`.
MembersDialog* openMembersWindow(const std::filesystem::path& mainFolder, MemberWindows& windows);

// Stand-ins for what a window's run uses: processes, the folder's lock and
// the clock. The batch writes `pages` (file name in download/ -> text) and,
// when `sentinel`, the sentinel at once; the upload ends when the test calls
// `uploadEnded`; the time is always 14:05.
struct StandInPorts : StandInProcesses, Clock {
    std::map<std::string, std::string> pages;
    bool sentinel = false;
    StandInLock lock;

    bool startBatch(const std::filesystem::path& mainFolder, const std::string& batchFile) override;
    std::string dateStamp() override { return "Sunday, 6 December 2026 at 14:05"; }
    std::string timeOfDay() override { return "14:05"; }
};

// The one open top-level window of that kind, or nullptr.
QWidget* openWindowOf(const char* className);

} // namespace quenmark
