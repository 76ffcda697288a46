#include "gui/dialogs/enforced_times_dialog.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"
#include "tests/support/gui_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QTest>

using namespace quenmark;

namespace {

std::string entry(const std::string& name, int level, int difficulty, const std::string& text) {
    return crlf({name, " " + std::to_string(level) + " ", " " + std::to_string(difficulty) + " ",
                 text, ""});
}

} // namespace

class EnforcedTimesDialogTest : public QObject {
    Q_OBJECT

    static QComboBox* level(const QWidget* w) { return control<QComboBox>(w, "cboLevel"); }
    static QComboBox* difficulty(const QWidget* w) {
        return control<QComboBox>(w, "cboDifficulty");
    }
    static QLineEdit* time(const QWidget* w) { return control<QLineEdit>(w, "txtTime"); }
    // The count line and the list under it.
    static QStringList inEffect(const QWidget* w) {
        return QStringList(control<QLabel>(w, "lblInEffect")->text()) +
               listTexts(control<QListWidget>(w, "lstCustomTimes"));
    }
    static void save(const QWidget* w, int levelPosition, int difficultyPosition,
                     const QString& text) {
        level(w)->setCurrentIndex(levelPosition);
        difficulty(w)->setCurrentIndex(difficultyPosition);
        time(w)->setText(text);
        click(w, "cmdSave");
    }

private slots:
    void init() { answerMessagesInTest(); }

    void saveAddsReplacesAndRemovesTheMembersTimes() {
        TempFolder folder;
        EnforcedTimesDialog dialog(folder.path(), "Al");
        QVERIFY(folder.exists("times.dat"));
        QCOMPARE(inEffect(&dialog), QStringList({"0 enforced times in effect:"}));

        time(&dialog)->setText("1:00");
        level(&dialog)->setCurrentIndex(3); // only a level chosen: nothing looked up
        QCOMPARE(time(&dialog)->text(), QString("1:00"));
        click(&dialog, "cmdSave");
        QCOMPARE(shownMessages(), QStringList({"Error: Invalid level/difficulty values."}));
        QCOMPARE(folder.read("times.dat"), std::string());

        save(&dialog, 3, 1, "N/A");
        QCOMPARE(folder.read("times.dat"), entry("Al", 3, 1, "N/A"));
        QCOMPARE(inEffect(&dialog),
                 QStringList({"1 enforced time in effect:", "Al - Tunnel Revolt - Veteran - N/A"}));
        QCOMPARE(time(&dialog)->text(), QString("N/A")); // the box keeps its text
        save(&dialog, 13, 2, "1:05");
        save(&dialog, 3, 1, "2:00");
        QCOMPARE(folder.read("times.dat"), entry("Al", 3, 1, "2:00") + entry("Al", 13, 2, "1:05"));
        difficulty(&dialog)->setCurrentIndex(2);
        QCOMPARE(time(&dialog)->text(), QString()); // no time for that cell
        difficulty(&dialog)->setCurrentIndex(1);
        QCOMPARE(time(&dialog)->text(), QString("2:00"));

        save(&dialog, 3, 1, "");
        QCOMPARE(folder.read("times.dat"), entry("Al", 13, 2, "1:05"));
        QCOMPARE(inEffect(&dialog),
                 QStringList({"1 enforced time in effect:", "Al - Reactor Core - Master - 1:05"}));
        QCOMPARE(shownMessages().size(), 1); // no question for a time, N/A or a blank

        // A time the site would misread is saved only when the operator says so;
        // Enter answers No, and the text stays for mending.
        save(&dialog, 13, 2, "102");
        save(&dialog, 13, 2, "1:5");
        QCOMPARE(time(&dialog)->text(), QString("1:5"));
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::Yes);
        save(&dialog, 13, 2, "102");
        save(&dialog, 3, 1, "n/A");
        const QString asked = "Enforced Times: \"%1\" is not a time like 1:23 or N/A. Save it "
                              "anyway? (?) [Yes/No, No default]";
        QCOMPARE(shownMessages().mid(1),
                 QStringList({asked.arg("102"), asked.arg("1:5"), asked.arg("102")}));
        QCOMPARE(folder.read("times.dat"), entry("Al", 13, 2, "102") + entry("Al", 3, 1, "n/A"));
    }

    // times.dat unreadable: no count, and an empty box for a time not read
    // removes nothing; Save reads the time again instead.
    void timesThatCouldNotBeReadAreNeitherCountedNorRemoved() {
        TempFolder folder;
        std::filesystem::create_directory(folder / "times.dat");
        EnforcedTimesDialog dialog(folder.path(), "Al");
        QCOMPARE(inEffect(&dialog), QStringList({"\"times.dat\" could not be read."}));
        save(&dialog, 3, 1, "");
        std::filesystem::remove(folder / "times.dat");
        folder.write("times.dat", entry("Al", 3, 1, "1:00"));
        click(&dialog, "cmdSave");
        QCOMPARE(time(&dialog)->text(), QString("1:00"));
        QCOMPARE(folder.read("times.dat"), entry("Al", 3, 1, "1:00"));
        const QString unread = "Error: \"times.dat\" could not be read. (x)";
        QCOMPARE(shownMessages(), QStringList({unread, unread}));
    }

    void boundToTheMemberSelectedWhenItOpenedAndListingEveryonesTimesInNameOrder() {
        TempFolder folder;
        MemberWindows windows;
        const std::string zoe = "Zo\xEB" + std::string(70, 'W'); // a long name is shown whole
        writeMemberFiles(folder, memberLines("Al") + memberLines(zoe), "");
        const std::string times = entry("bob", 1, 0, "1:00") + entry("Al", 2, 2, "N/A") +
                                  entry("carl", 0, 1, "0:59") + entry("Bob", 1, 0, "1:00");
        folder.write("times.dat", times);
        QWidget small; // a place kept while a short name was shown
        small.resize(300, 150);
        QSettings().setValue("geometry/quenmark::EnforcedTimesDialog", small.saveGeometry());
        QPointer<MembersDialog> members = openMembersWindow(folder.path(), windows);
        members->selectMember(1);
        click(members, "cmdCustomTimes");
        QPointer<QWidget> dialog = openWindowOf("quenmark::EnforcedTimesDialog");
        const auto* name = control<QLabel>(dialog, "lblName");
        QCOMPARE(name->toolTip(), QString::fromLatin1(zoe));
        QVERIFY(name->wordWrap() && name->height() >= name->heightForWidth(name->width()));
        QCOMPARE(level(dialog)->currentIndex() + difficulty(dialog)->currentIndex(), -2);
        members->selectMember(0);
        save(dialog, 5, 0, "3:00");
        QCOMPARE(folder.read("times.dat"), times + entry(zoe, 5, 0, "3:00"));
        // Lines equal but for letter case keep their file order.
        QCOMPARE(
            inEffect(dialog),
            QStringList({"5 enforced times in effect:", "Al - Harbour Sprint - Master - N/A",
                         "bob - Copper Crown - Rookie - 1:00", "Bob - Copper Crown - Rookie - 1:00",
                         "carl - Lamplight - Veteran - 0:59",
                         QString::fromLatin1(zoe) + " - Dusk Patrol - Rookie - 3:00"}));
        click(dialog, "cmdDone");
        QTRY_VERIFY(dialog.isNull());

        click(members, "cmdCustomTimes"); // a new opening takes the member selected now
        dialog = openWindowOf("quenmark::EnforcedTimesDialog");
        QCOMPARE(control<QLabel>(dialog, "lblName")->toolTip(), QString("Al"));
        QCOMPARE(level(dialog)->currentIndex(), -1);
        dialog->close();
        members->close();
    }
};

QTEST_MAIN(EnforcedTimesDialogTest)
#include "enforced_times_dialog_test.moc"
