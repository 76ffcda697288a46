#include "tests/support/gui_support.h"

#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QtGlobal>
#include <fstream>

namespace quenmark {

std::string memberLines(const std::string& name) {
    return crlf({name, name.substr(0, 2), "red", "http://example.org/" + name, name + "@mail", ""});
}

std::string numberEntry(const std::string& name, int number) {
    return crlf({name, " " + std::to_string(number) + " ", ""});
}

void writeMemberFiles(const TempFolder& folder, const std::string& roster,
                      const std::string& banned, const std::string& invalid) {
    folder.write("roster.txt", roster);
    folder.write("banned.txt", banned);
    folder.write("invalidchrs.dat", invalid);
}

QObject* namedControl(const QObject* window, const char* name) {
    QObject* found = window ? window->findChild<QObject*>(name) : nullptr;
    if (!found)
        qFatal("the window has no control named %s", name);
    return found;
}

void click(const QWidget* window, const char* button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

QStringList listTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

void answerMessagesInTest() {
    MessageBoxes::setTestMode(true);
    MessageBoxes::clearShown();
}

QStringList shownMessages() {
    static const char* const icons[] = {"", " (i)", " (!)", " (x)", " (?)"};
    static const char* const buttonsShown[] = {"", " [Yes/No]", " [Yes/No, No default]"};
    QStringList lines;
    for (const auto& shown : MessageBoxes::shown())
        lines.append(shown.title + ": " + shown.text + icons[static_cast<int>(shown.icon)] +
                     buttonsShown[static_cast<int>(shown.buttons)]);
    return lines;
}

MembersDialog* openMembersWindow(const std::filesystem::path& mainFolder, MemberWindows& windows) {
    auto* window = new MembersDialog(mainFolder, windows);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (!window->openFiles())
        qFatal("the Members window did not open");
    window->show();
    return window;
}

bool StandInPorts::startBatch(const std::filesystem::path& mainFolder,
                              const std::string& batchFile) {
    StandInProcesses::startBatch(mainFolder, batchFile);
    for (const auto& [name, text] : pages)
        std::ofstream(mainFolder / "download" / name, std::ios::binary) << text;
    if (sentinel)
        std::ofstream(mainFolder / "download" / "EndOfRoster.html");
    return batchStarts;
}

QWidget* openWindowOf(const char* className) {
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
