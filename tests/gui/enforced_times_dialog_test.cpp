#include "app/qt_message_box.h"
#include "dialogs/enforced_times_dialog.h"
#include "dialogs/members_dialog.h"
#include "tests/support/gui_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

QComboBox* level(const QWidget* w) {
    return control<QComboBox>(w, "cboLevel");
}
QComboBox* difficulty(const QWidget* w) {
    return control<QComboBox>(w, "cboDifficulty");
}
QLineEdit* time(const QWidget* w) {
    return control<QLineEdit>(w, "txtTime");
}
QString inEffect(const QWidget* w) {
    return control<QLabel>(w, "lblInEffect")->text();
}
QStringList lines(const QWidget* w) {
    return listTexts(control<QListWidget>(w, "lstCustomTimes"));
}
void click(const QWidget* w, const char* name) {
    QTest::mouseClick(control<QPushButton>(w, name), Qt::LeftButton);
}
void choose(const QWidget* w, int levelPosition, int difficultyPosition) {
    level(w)->setCurrentIndex(levelPosition);
    difficulty(w)->setCurrentIndex(difficultyPosition);
}
void save(const QWidget* w, int levelPosition, int difficultyPosition, const QString& text) {
    choose(w, levelPosition, difficultyPosition);
    time(w)->setText(text);
    click(w, "cmdSave");
}

std::string entry(const std::string& name, int levelPosition, int difficultyPosition,
                  const std::string& text) {
    return crlf({name, " " + std::to_string(levelPosition) + " ",
                 " " + std::to_string(difficultyPosition) + " ", text, ""});
}

} // namespace

class EnforcedTimesDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { answerMessagesInTest(); }

    void opensOnAnEmptyFileWithNothingChosen() {
        GuiFolder folder;
        EnforcedTimesDialog dialog(folder.path(), "Al");
        QVERIFY(folder.exists("times.dat"));
        QCOMPARE(folder.read("times.dat"), std::string());
        QCOMPARE(dialog.windowTitle(), QString("Updater - Enforced Times"));
        QCOMPARE(control<QLabel>(&dialog, "lblRefresh")->text(), QString("Editing:"));
        QCOMPARE(control<QLabel>(&dialog, "lblName")->text(), QString("Al"));
        QCOMPARE(control<QLabel>(&dialog, "lblFindTime")->text(),
                 QString("This form allows you to edit a player's time in the case of a typo or "
                         "claiming a single fake time. Write either \"N/A\" or a time (format of "
                         "\"m:ss\") in the text box. To remove an enforced time, make the text "
                         "box blank. You must click Save in order to store the time."));
        QCOMPARE(level(&dialog)->currentIndex(), -1);
        QCOMPARE(difficulty(&dialog)->currentIndex(), -1);
        QCOMPARE(level(&dialog)->count(), 14);
        QCOMPARE(level(&dialog)->itemText(13), QString("Reactor Core"));
        QCOMPARE(difficulty(&dialog)->itemText(2), QString("Master"));
        QCOMPARE(time(&dialog)->text(), QString());
        QCOMPARE(inEffect(&dialog), QString("0 enforced times in effect:"));
        QVERIFY(lines(&dialog).isEmpty());
    }

    void countsAndWordingFollowTheEntries() {
        GuiFolder folder;
        folder.write("times.dat", "");
        EnforcedTimesDialog dialog(folder.path(), "Al");
        save(&dialog, 0, 0, "N/A");
        QCOMPARE(folder.read("times.dat"), entry("Al", 0, 0, "N/A"));
        QCOMPARE(inEffect(&dialog), QString("1 enforced time in effect:"));
        QCOMPARE(lines(&dialog), QStringList({"Al - Lamplight - Rookie - N/A"}));
        QCOMPARE(time(&dialog)->text(), QString("N/A")); // the box keeps its text

        save(&dialog, 13, 2, "1:05");
        QCOMPARE(folder.read("times.dat"), entry("Al", 0, 0, "N/A") + entry("Al", 13, 2, "1:05"));
        QCOMPARE(inEffect(&dialog), QString("2 enforced times in effect:"));
    }

    void choosingACellShowsItsTimeAndSavingReplacesOrRemovesIt() {
        GuiFolder folder;
        folder.write("times.dat", entry("Al", 3, 1, "2:10") + entry("Bo", 3, 1, "9:99"));
        EnforcedTimesDialog dialog(folder.path(), "Al");
        QCOMPARE(inEffect(&dialog), QString("2 enforced times in effect:"));
        level(&dialog)->setCurrentIndex(3);
        QCOMPARE(time(&dialog)->text(), QString()); // only a level: nothing looked up yet
        difficulty(&dialog)->setCurrentIndex(1);
        QCOMPARE(time(&dialog)->text(), QString("2:10"));
        difficulty(&dialog)->setCurrentIndex(2);
        QCOMPARE(time(&dialog)->text(), QString());
        difficulty(&dialog)->setCurrentIndex(1);

        time(&dialog)->setText("2:00");
        click(&dialog, "cmdSave");
        QCOMPARE(folder.read("times.dat"), entry("Al", 3, 1, "2:00") + entry("Bo", 3, 1, "9:99"));
        QCOMPARE(inEffect(&dialog), QString("2 enforced times in effect:"));
        QCOMPARE(lines(&dialog), QStringList({"Al - Tunnel Revolt - Veteran - 2:00",
                                              "Bo - Tunnel Revolt - Veteran - 9:99"}));

        time(&dialog)->clear();
        click(&dialog, "cmdSave");
        QCOMPARE(folder.read("times.dat"), entry("Bo", 3, 1, "9:99"));
        QCOMPARE(inEffect(&dialog), QString("1 enforced time in effect:"));
        QCOMPARE(lines(&dialog), QStringList({"Bo - Tunnel Revolt - Veteran - 9:99"}));
    }

    void savingWithoutLevelOrDifficultyIsRefused() {
        GuiFolder folder;
        folder.write("times.dat", entry("Bo", 0, 0, "N/A"));
        EnforcedTimesDialog dialog(folder.path(), "Al");
        level(&dialog)->setCurrentIndex(4);
        time(&dialog)->setText("1:00");
        click(&dialog, "cmdSave");
        level(&dialog)->setCurrentIndex(-1);
        difficulty(&dialog)->setCurrentIndex(0);
        click(&dialog, "cmdSave");
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{2});
        for (const auto& shown : MessageBoxes::shown()) {
            QCOMPARE(shown.title, QString("Error"));
            QCOMPARE(shown.text, QString("Invalid level/difficulty values."));
            QVERIFY(shown.icon == MessageIcon::None);
            QVERIFY(shown.buttons == MessageBoxes::Buttons::Ok);
        }
        QCOMPARE(folder.read("times.dat"), entry("Bo", 0, 0, "N/A"));
    }

    void everyMembersEntriesAreListedInNameOrderLetterCaseAside() {
        GuiFolder folder;
        folder.write("times.dat", entry("bob", 1, 0, "1:00") + entry("Al", 2, 2, "N/A") +
                                      entry("carl", 0, 1, "0:59") + entry("Bob", 1, 0, "1:00") +
                                      entry("Zo\xEB", 5, 0, "3:00"));
        EnforcedTimesDialog dialog(folder.path(), "Nobody");
        // Lines equal but for letter case keep their file order.
        const QStringList expected = {
            "Al - Harbour Sprint - Master - N/A", "bob - Copper Crown - Rookie - 1:00",
            "Bob - Copper Crown - Rookie - 1:00", "carl - Lamplight - Veteran - 0:59",
            QString::fromUtf8("Zoë - Dusk Patrol - Rookie - 3:00")};
        QCOMPARE(lines(&dialog), expected);
        QCOMPARE(inEffect(&dialog), QString("5 enforced times in effect:"));
    }

    void boundToTheMemberSelectedWhenItOpened() {
        GuiFolder folder;
        folder.write("roster.txt", memberLines("Al") + memberLines("Zo\xEB"));
        folder.write("banned.txt", "");
        folder.write("invalidchrs.dat", "");
        QPointer<MembersDialog> members = openMembersWindow(folder.path());
        members->selectMember(1);
        click(members, "cmdCustomTimes");
        QPointer<QWidget> dialog = openWindowOf("EnforcedTimesDialog");
        QVERIFY(dialog);
        QCOMPARE(control<QLabel>(dialog, "lblName")->text(), QString::fromUtf8("Zoë"));
        members->selectMember(0);
        save(dialog, 1, 1, "0:45");
        QCOMPARE(folder.read("times.dat"), entry("Zo\xEB", 1, 1, "0:45"));
        click(dialog, "cmdDone");
        QTRY_VERIFY(dialog.isNull());

        click(members, "cmdCustomTimes"); // a new opening takes the member selected now
        dialog = openWindowOf("EnforcedTimesDialog");
        QCOMPARE(control<QLabel>(dialog, "lblName")->text(), QString("Al"));
        QCOMPARE(level(dialog)->currentIndex(), -1);
        QCOMPARE(inEffect(dialog), QString("1 enforced time in effect:"));
        dialog->close();
        members->close();
    }
};

QTEST_MAIN(EnforcedTimesDialogTest)
#include "enforced_times_dialog_test.moc"
