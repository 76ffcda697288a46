#pragma once

#include "core/ports/clock.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace quenmark {

// One member's six lines in the roster format; the other fields come from the
// name, so a record that lost or swapped a field shows up in a comparison.
inline std::string memberLines(const std::string& name) {
    return crlf({name, name.substr(0, 2), "red", "http://example.org/" + name, name + "@mail", ""});
}

// One invalidchrs.dat entry: name, number form, empty line.
inline std::string numberEntry(const std::string& name, int number) {
    return crlf({name, " " + std::to_string(number) + " ", ""});
}

inline void writeMemberFiles(const TempFolder& folder, const std::string& roster,
                             const std::string& banned, const std::string& invalid = "") {
    folder.write("roster.txt", roster);
    folder.write("banned.txt", banned);
    folder.write("invalidchrs.dat", invalid);
}

// The control of that object name; the test program stops when it is missing.
template <typename Control> Control* control(const QObject* window, const char* name) {
    QObject* found = window ? window->findChild<QObject*>(name) : nullptr;
    if (!found)
        qFatal("the window has no control named %s", name);
    return qobject_cast<Control*>(found);
}

inline void click(const QWidget* window, const char* button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

inline QStringList listTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

// Message boxes answered by the test from here on, nothing shown yet.
inline void answerMessagesInTest() {
    MessageBoxes::setTestMode(true);
    MessageBoxes::clearShown();
}

// Every box shown so far as "title: text", followed by " (i)", " (!)", " (x)"
// or " (?)" for its icon and " [Yes/No]" for a question (" [Yes/No, No default]"
// when Enter answers No).
inline QStringList shownMessages() {
    static const char* const icons[] = {"", " (i)", " (!)", " (x)", " (?)"};
    static const char* const buttonsShown[] = {"", " [Yes/No]", " [Yes/No, No default]"};
    QStringList lines;
    for (const auto& shown : MessageBoxes::shown())
        lines.append(shown.title + ": " + shown.text + icons[static_cast<int>(shown.icon)] +
                     buttonsShown[static_cast<int>(shown.buttons)]);
    return lines;
}

// Stand-ins for a window's run: the batch writes `pages` (name in download/ ->
// text) and then, if any, the sentinel; the upload ends when the test calls
// `uploadEnded`; the time is always 14:05.
struct StandInPorts : StandInProcesses, Clock {
    std::map<std::string, std::string> pages;
    StandInLock lock;

    bool startBatch(const std::filesystem::path& mainFolder,
                    const std::string& batchFile) override {
        StandInProcesses::startBatch(mainFolder, batchFile);
        for (const auto& [name, text] : pages)
            std::ofstream(mainFolder / "download" / name, std::ios::binary) << text;
        if (!pages.empty())
            std::ofstream(mainFolder / "download" / "EndOfRoster.html");
        return batchStarts;
    }
    std::string dateStamp() override { return "Sunday, 6 December 2026 at 14:05"; }
    std::string timeOfDay() override { return "14:05"; }
};

// The main window over the folder, shown, its runs on stand-ins.
struct MainWindowOnStandIns {
    StandInPorts ports;
    MainWindow window;
    explicit MainWindowOnStandIns(const std::filesystem::path& mainFolder)
        : window(mainFolder, ports, ports, ports.lock, ports) {
        window.show();
    }
};

// The user's settings (window places, last run, pages at once) in a folder of the test's own.
struct EmptyUserSettings {
    QTemporaryDir folder;
    EmptyUserSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    }
};

// The one open top-level window of that kind, or nullptr.
inline QWidget* openWindowOf(const char* className) {
    QWidget* found = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !window->inherits(className))
            continue;
        if (found)
            qFatal("more than one %s is open", className);
        found = window;
    }
    return found;
}

} // namespace quenmark
