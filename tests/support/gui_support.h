#pragma once

#include "tests/support/temp_folder.h"

#include <QListWidget>
#include <QObject>
#include <QStringList>
#include <QWidget>
#include <filesystem>
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
// or " (?)" for its icon and " [Yes/No]" for a question.
QStringList shownMessages();

class MembersDialog;

// A Members window over the folder, opened and shown as the main window shows
// it: closing it deletes it.
MembersDialog* openMembersWindow(const std::filesystem::path& mainFolder);

// The one open top-level window of that kind, or nullptr.
QWidget* openWindowOf(const char* className);

} // namespace quenmark
