#pragma once

#include <QListWidget>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

// A fresh main folder for one test, removed afterwards.
class GuiFolder {
public:
    GuiFolder();
    std::filesystem::path path() const;
    // Bytes exactly as given, no line-end conversion.
    void write(std::string_view name, std::string_view bytes) const;
    // Bytes; empty when the file is missing.
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;

private:
    QTemporaryDir m_dir;
};

// crlf(): lines joined with CR LF after each, shared with the other tests.
#include "tests/support/temp_folder.h"

// One member's six lines in the roster format; the other fields come from the
// name, so a record that lost or swapped a field shows up in a comparison.
std::string memberLines(const std::string& name);

// One invalidchrs.dat entry: name, number form, empty line.
std::string numberEntry(const std::string& name, int number);

// The control of that object name; the test program stops when it is missing.
QObject* namedControl(const QObject* window, const char* name);
template <typename Control> Control* control(const QObject* window, const char* name) {
    return qobject_cast<Control*>(namedControl(window, name));
}

QStringList listTexts(const QListWidget* list);

// Message boxes answered by the test from here on, nothing shown yet.
void answerMessagesInTest();

class MembersDialog;

// A Members window over the folder, opened and shown as the main window shows
// it: closing it deletes it.
MembersDialog* openMembersWindow(const std::filesystem::path& mainFolder);

// The one open top-level window of that kind, or nullptr.
QWidget* openWindowOf(const char* className);
