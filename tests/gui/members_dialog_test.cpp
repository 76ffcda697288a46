#include "gui/dialogs/enforced_times_dialog.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"
#include "tests/support/gui_support.h"
#include "tests/support/member_times_fixture.h"

#include <QtTest>
#include <QtWidgets>

using namespace quenmark;

namespace {

// A Members window opened over the member files given.
struct Members {
    TempFolder folder;
    MemberWindows windows;
    MembersDialog window{folder.path(), windows};
    Members(const std::string& roster, const std::string& banned, const std::string& invalid = "") {
        writeMemberFiles(folder, roster, banned, invalid);
        if (!window.openFiles())
            qFatal("the Members window did not open");
    }
    QLineEdit* text(const char* name) { return control<QLineEdit>(&window, name); }
    QComboBox* status() { return control<QComboBox>(&window, "cboStatus"); }
    QCheckBox* invalid() { return control<QCheckBox>(&window, "chkInvalid"); }
    // The list, then the active members' count.
    QString roll() {
        return listTexts(control<QListWidget>(&window, "lstMembers")).join(", ") + " #" +
               control<QLabel>(&window, "lblNo")->text();
    }
    void choose(int row) { control<QListWidget>(&window, "lstMembers")->setCurrentRow(row); }
    void press(const char* button) { click(&window, button); }
    std::string files() {
        return folder.read("roster.txt") + "|" + folder.read("banned.txt") + "|" +
               folder.read("invalidchrs.dat");
    }
    // The fields as a roster record, to compare with memberLines, and the status after it.
    std::string shown() {
        std::string record;
        for (const char* name : {"txtName", "txtInitials", "txtColor", "txtPage", "txtEmail"})
            record += text(name)->text().toLatin1().toStdString() + "\r\n";
        return record + "\r\n" + status()->currentText().toStdString();
    }
};

QComboBox* level(const QWidget* w) {
    return control<QComboBox>(w, "cboLevel");
}
QComboBox* difficulty(const QWidget* w) {
    return control<QComboBox>(w, "cboDifficulty");
}
QLineEdit* time(const QWidget* w) {
    return control<QLineEdit>(w, "txtTime");
}
// The Enforced Times window's count line and the list under it.
QStringList inEffect(const QWidget* w) {
    return QStringList(control<QLabel>(w, "lblInEffect")->text()) +
           listTexts(control<QListWidget>(w, "lstCustomTimes"));
}
void save(const QWidget* w, int levelPosition, int difficultyPosition, const QString& text) {
    level(w)->setCurrentIndex(levelPosition);
    difficulty(w)->setCurrentIndex(difficultyPosition);
    time(w)->setText(text);
    click(w, "cmdSave");
}

} // namespace

class MembersDialogTest : public QObject {
    Q_OBJECT

    static QListWidget* members(const QWidget* w) { return control<QListWidget>(w, "lstMembers"); }

private slots:
    void init() { answerMessagesInTest(); }

    // Opening sorts both files, writing every record once: two members of one
    // name and names equal but for case keep file order. Banned members stand
    // out, a long name fits the list, the count is labelled; Select reads the
    // files afresh, and what was typed lives only in the fields.
    void openingSortsTheFilesAndSelectReadsThem() {
        const std::string bob2 = crlf({"Bob", "B2", "blue", "p2", "e2", ""});
        const std::string carol = "Carol Featherstonehaugh-Cholmondeley";
        const std::string roster = memberLines("alice") + memberLines("Bob") + bob2 +
                                   memberLines("bob") + memberLines(carol);
        Members m(memberLines(carol) + memberLines("Bob") + memberLines("alice") + bob2 +
                      memberLines("bob"),
                  memberLines("zed") + memberLines("Ann"));
        m.window.show();
        QCOMPARE(m.files(), roster + "|" + memberLines("Ann") + memberLines("zed") + "|");
        QCOMPARE(m.roll(), QString::fromStdString("alice, Bob, Bob, bob, " + carol +
                                                  ", Ann (banned), zed (banned) #5"));
        const auto* list = members(&m.window);
        QCOMPARE(list->item(6)->foreground().color(),
                 m.window.palette().color(QPalette::Disabled, QPalette::Text));
        QCOMPARE(list->item(0)->foreground().style(), Qt::NoBrush);
        QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
        const auto* caption = qobject_cast<QLabel*>(
            m.window.findChild<QFormLayout*>()->labelForField(control<QLabel>(&m.window, "lblNo")));
        QVERIFY(caption && caption->text() == "Active members:");
        QCOMPARE(m.shown(), memberLines("alice") + "Active");
        m.text("txtEmail")->setText("typed");
        m.choose(6);
        QCOMPARE(m.shown(), memberLines("zed") + "Banned!");
        m.folder.write("roster.txt", roster + memberLines("Di"));
        m.choose(0);
        QCOMPARE(m.shown(), memberLines("alice") + "Active");
        QVERIFY(m.roll().endsWith("#6"));
        QVERIFY(MessageBoxes::shown().empty());
    }

    void savingMovesTheMemberToTheStartOfBannedOrTheEndOfTheRosterWithHisFieldsAsLatin1() {
        Members m(memberLines("Al") + crlf({"Zo\xEB", "ABC", "red", "p", "e", ""}) +
                      memberLines("Zz"),
                  memberLines("Zzz"));
        m.choose(1);
        QCOMPARE(m.text("txtName")->text(), QString::fromUtf8("Zoë"));
        m.text("txtColor")->setText(QString::fromUtf8("grün€"));
        m.status()->setCurrentIndex(1);
        m.press("cmdSave");
        // Initials longer than can be typed stay whole.
        const std::string zoeSaved = crlf({"Zo\xEB", "ABC", "gr\xFCn?", "p", "e", ""});
        QCOMPARE(m.files(),
                 memberLines("Al") + memberLines("Zz") + "|" + zoeSaved + memberLines("Zzz") + "|");
        QCOMPARE(m.roll(), QString("Al, Zz, Zoë (banned), Zzz (banned) #2"));
        QCOMPARE(m.shown(), memberLines("Al") + "Active"); // Save ends with a Select

        m.choose(2); // let back: the last of the roster
        m.status()->setCurrentIndex(0);
        m.press("cmdSave");
        QCOMPARE(m.files(),
                 memberLines("Al") + memberLines("Zz") + zoeSaved + "|" + memberLines("Zzz") + "|");
    }

    // A rename keeps his number; onto a name that has a number, that number
    // stays and his own goes.
    void invalidBoxAndRenaming() {
        const std::string x = numberEntry("X", 1);
        Members m(memberLines("A/B") + memberLines("Zed"), "", x + numberEntry("A/B", 3));
        m.text("txtName")->setText("C/D");
        m.press("cmdSave");
        QCOMPARE(m.folder.read("invalidchrs.dat"), x + numberEntry("C/D", 3));
        QCOMPARE(m.roll(), QString("C/D, Zed #2"));
        QVERIFY(m.invalid()->isChecked()); // shown again by Save's Select
        m.folder.write("invalidchrs.dat", numberEntry("C/D", 3) + numberEntry("E/F", 5));
        m.text("txtName")->setText("E/F");
        m.press("cmdSave");
        QCOMPARE(m.folder.read("invalidchrs.dat"), numberEntry("E/F", 5));
        m.choose(1);
        m.text("txtName")->setText("E/F");
        m.invalid()->setChecked(true);
        m.press("cmdSave");
        QCOMPARE(m.folder.read("invalidchrs.dat"), numberEntry("E/F", 5));
        QVERIFY(MessageBoxes::shown().empty());
    }

    // invalidchrs.dat unreadable when the member was shown: his box shows no
    // state, and a Save once the file is readable again keeps his number.
    void anInvalidBoxThatCouldNotBeReadIsNotWrittenBack() {
        Members m(memberLines("A/B"), "", numberEntry("A/B", 4));
        std::filesystem::rename(m.folder / "invalidchrs.dat", m.folder / "kept");
        std::filesystem::create_directory(m.folder / "invalidchrs.dat");
        m.window.selectMember(0);
        const auto* note = control<QLabel>(&m.window, "lblInvalidNote");
        QVERIFY(!m.invalid()->isEnabled() && !note->isHidden());
        QCOMPARE(note->text(), QString("\"invalidchrs.dat\" could not be read. The box is left "
                                       "as it is on file."));
        std::filesystem::remove(m.folder / "invalidchrs.dat");
        std::filesystem::rename(m.folder / "kept", m.folder / "invalidchrs.dat");
        m.text("txtName")->setText("C/D");
        m.press("cmdSave");
        QCOMPARE(m.folder.read("invalidchrs.dat"), numberEntry("C/D", 4));
        QVERIFY(m.invalid()->isEnabled() && m.invalid()->isChecked() && note->isHidden());
        QVERIFY(MessageBoxes::shown().empty());
    }

    void saveAndDeleteWriteNothingWhenTheRowNoLongerHoldsTheMemberShown() {
        const std::string changed = memberLines("Al") + memberLines("Cy") + memberLines("Bo");
        for (const char* button : {"cmdSave", "cmdDelete"}) {
            Members m(memberLines("Al") + memberLines("Bo"), "", numberEntry("Bo", 1));
            m.choose(1);
            m.folder.write("roster.txt", changed); // a hand edit behind the window
            m.press(button);
            QCOMPARE(m.files(), changed + "||" + numberEntry("Bo", 1));
            QCOMPARE(m.roll(), QString("Al, Cy, Bo #3"));
        }
        const QString told = "Error: The member files changed; the list was read again. (!)";
        QCOMPARE(shownMessages(), QStringList({told, told}));
    }

    void deleteAsksAndWithNothingSelectedTheButtonsRefuse() {
        Members m(memberLines("Al") + memberLines("Bo"), memberLines("Cy"),
                  numberEntry("Bo", 1) + numberEntry("Cy", 2));
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::No);
        m.press("cmdDelete");
        QCOMPARE(m.roll(), QString("Al, Bo, Cy (banned) #2"));

        m.choose(1);
        m.press("cmdDelete"); // answered Yes
        const std::string after =
            memberLines("Al") + "|" + memberLines("Cy") + "|" + numberEntry("Cy", 2);
        QCOMPARE(m.files(), after);
        QCOMPARE(m.roll(), QString("Al, Cy (banned) #1"));
        QCOMPARE(m.shown(), crlf({"", "", "", "", "", ""}) + "Active");
        QVERIFY(m.invalid()->isChecked()); // keeps its state

        m.text("txtName")->setText("Ghost");
        for (const char* button : {"cmdSave", "cmdDelete", "cmdCustomTimes"})
            m.press(button);
        const QString question = "Delete?: All saved data for %1 will be lost.\nAre you sure? (?) "
                                 "[Yes/No]";
        QCOMPARE(shownMessages(),
                 QStringList({question.arg("Al"), question.arg("Bo"),
                              "Cannot save member: Choose a member in the list first. (i)",
                              "Cannot delete member: You have no members to delete! (i)",
                              "Enforced Times: Choose a member in the list first. (i)"}));
        QCOMPARE(m.files(), after);
        QVERIFY(!openWindowOf("quenmark::EnforcedTimesDialog"));

        m.choose(0);
        m.press("cmdDelete"); // the last active member
        QCOMPARE(m.files(), "|" + memberLines("Cy") + "|" + numberEntry("Cy", 2));
        QCOMPARE(m.roll(), QString("Cy (banned) #0"));
    }

    void mainWindowOpensOneMembersWindowWhoseSubWindowsOutliveIt() {
        TempFolder folder;
        writeMemberFiles(folder, memberLines("Bo") + memberLines("Al"), "");
        MainWindowOnStandIns mainWindow(folder.path());
        QWidget* main = &mainWindow.window;
        const char* const buttons[] = {"cmdNew", "cmdSearch", "cmdCustomTimes"};
        const char* const kinds[] = {"quenmark::NewMemberDialog", "quenmark::SearchDialog",
                                     "quenmark::EnforcedTimesDialog"};
        QPointer<QWidget> opened[3];
        click(main, "cmdMembers");
        QPointer<QWidget> first = openWindowOf("quenmark::MembersDialog");
        for (int i = 0; i < 3; ++i) {
            click(first, buttons[i]);
            opened[i] = openWindowOf(kinds[i]);
        }
        folder.write("roster.txt", memberLines("Cy"));
        click(main, "cmdMembers"); // only brings it to the front: Open does not run again
        QCOMPARE(openWindowOf("quenmark::MembersDialog"), first.data());
        QCOMPARE(listTexts(members(first)), QStringList({"Al", "Bo"}));
        click(first, "cmdDone");
        QTRY_VERIFY(first.isNull());

        // With no Members window, Search only closes ...
        control<QLineEdit>(opened[1], "txtName")->setText("Al");
        click(opened[1], "cmdSearch");
        QTRY_VERIFY(opened[1].isNull());
        QVERIFY(MessageBoxes::shown().empty());
        // ... and a new Members window reads afresh and takes the others over.
        click(main, "cmdMembers");
        QPointer<QWidget> second = openWindowOf("quenmark::MembersDialog");
        QCOMPARE(listTexts(members(second)), QStringList({"Cy"}));
        for (int i : {0, 2}) {
            click(second, buttons[i]);
            QCOMPARE(openWindowOf(kinds[i]), opened[i].data());
        }
        control<QLineEdit>(opened[0], "txtName")->setText("Dee");
        click(opened[0], "cmdAdd");
        QCOMPARE(listTexts(members(second)), QStringList({"Cy", "Dee"}));
        QTRY_VERIFY(opened[0].isNull());

        // New Member still writes the files when the Members window is gone.
        click(second, "cmdNew");
        QPointer<QWidget> newMember = openWindowOf("quenmark::NewMemberDialog");
        control<QLineEdit>(newMember, "txtName")->setText("E/v");
        control<QCheckBox>(newMember, "chkInvalid")->setChecked(true);
        click(second, "cmdDone");
        QTRY_VERIFY(second.isNull());
        click(newMember, "cmdAdd");
        QCOMPARE(folder.read("roster.txt"), memberLines("Cy") + crlf({"Dee", "", "", "", "", ""}) +
                                                crlf({"E/v", "", "", "", "", ""}));
        QCOMPARE(folder.read("invalidchrs.dat"), numberEntry("E/v", 1));
        QVERIFY(MessageBoxes::shown().empty());
    }

    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("found"); // -1: the window stays open with its message
        QTest::addColumn<QString>("message");
        // Sorted on opening: Ann, Anne, Bob | ann, Zoe; the search starts with Zoe selected.
        const QString notFound = "Not Found: Member not found. Please check your spelling. (i)";
        QTest::newRow("other letter case") << "BOB" << 2 << "";
        QTest::newRow("active before banned of the same name") << "aNN" << 0 << "";
        QTest::newRow("whole name only") << "anne" << 1 << "";
        QTest::newRow("banned member") << "zoe" << 4 << "";
        QTest::newRow("part of a name") << "An" << -1 << notFound;
        QTest::newRow("a blank") << " " << -1 << notFound;
        QTest::newRow("empty") << "" << -1 << "No name: You must enter a name. (i)";
    }
    void search() {
        QFETCH(QString, typed);
        QFETCH(int, found);
        QFETCH(QString, message);
        Members m(memberLines("Anne") + memberLines("Ann") + memberLines("Bob"),
                  memberLines("ann") + memberLines("Zoe"));
        m.choose(4);
        m.press("cmdSearch");
        QPointer<QWidget> dialog = openWindowOf("quenmark::SearchDialog");
        control<QLineEdit>(dialog, "txtName")->setText(typed);
        click(dialog, "cmdSearch");
        QCOMPARE(shownMessages(), message.isEmpty() ? QStringList() : QStringList({message}));
        const QListWidget* list = members(&m.window);
        QCOMPARE(list->currentRow(), found < 0 ? 4 : found);
        QCOMPARE(m.text("txtName")->text(), // shown by Select
                 list->item(list->currentRow())->data(Qt::UserRole).toString());
        QTRY_COMPARE(dialog.isNull(), found >= 0);
        QCOMPARE(openWindowOf("quenmark::SearchDialog"), dialog.data());
        if (dialog)
            dialog->close();
    }

    // New members stand between the active and the banned, with the smallest free numbers.
    void newMembers() {
        const std::string roster = memberLines("Al") + memberLines("Bo") + memberLines("Cy");
        Members m(roster, memberLines("Xu") + memberLines("Yo"), numberEntry("X", 2));
        m.choose(1);
        for (const char* name : {"Z/d", "A:e"}) {
            m.press("cmdNew");
            QPointer<QWidget> dialog = openWindowOf("quenmark::NewMemberDialog");
            QStringList fields = QString::fromStdString(memberLines(name)).split("\r\n");
            fields[1] = name; // the whole name: the initials box keeps two characters
            int i = 0;
            for (const char* field : {"txtName", "txtInitials", "txtColor", "txtPage", "txtEmail"})
                QTest::keyClicks(control<QLineEdit>(dialog, field), fields[i++]);
            control<QCheckBox>(dialog, "chkInvalid")->setChecked(true);
            click(dialog, "cmdAdd");
            QTRY_VERIFY(dialog.isNull());
        }
        QCOMPARE(m.files(), roster + memberLines("Z/d") + memberLines("A:e") + "|" +
                                memberLines("Xu") + memberLines("Yo") + "|" + numberEntry("X", 2) +
                                numberEntry("Z/d", 1) + numberEntry("A:e", 3));
        QCOMPARE(m.roll(), QString("Al, Bo, Cy, Z/d, A:e, Xu (banned), Yo (banned) #5"));
        QCOMPARE(m.text("txtName")->text(), QString("Bo")); // no Select ran
        m.choose(4); // the list entries lead to the right records
        QCOMPARE(m.text("txtEmail")->text(), QString("A:e@mail"));
    }

    // A file damaged or unreadable keeps the window closed and is left as it
    // is; a missing one ends the program.
    void fileThatCannotBeReadKeepsTheWindowClosed() {
        const std::pair<std::string, QString> cases[] = {
            // roster.txt ("/": a folder), message
            {crlf({"Cut", "Cu"}), "Error: \"roster.txt\" is damaged"},
            {"/", "Error: \"roster.txt\" could not be read. (x)"},
            {"", "Critical Error: \"roster.txt\" could not be found. Make sure it is named "
                 "correctly and in the main folder. (x)"}};
        for (const auto& [roster, message] : cases) {
            TempFolder folder;
            writeMemberFiles(folder, roster, "");
            std::filesystem::remove(folder / "roster.txt");
            if (roster == "/")
                std::filesystem::create_directories(folder / "roster.txt/inside");
            else if (!roster.empty())
                folder.write("roster.txt", roster);
            MessageBoxes::clearShown();
            MainWindowOnStandIns main(folder.path());
            click(&main.window, "cmdMembers");
            QCOMPARE(shownMessages().size(), 1);
            QVERIFY2(shownMessages().front().startsWith(message),
                     qPrintable(shownMessages().front()));
            QVERIFY(!openWindowOf("quenmark::MembersDialog"));
            QCOMPARE(main.window.isVisible(), !roster.empty());
            QVERIFY(roster == "/" ? std::filesystem::is_directory(folder / "roster.txt/inside")
                                  : folder.read("roster.txt") == roster);
        }
    }

    void enforcedTimesSaveAddsAndRemovesTheMembersTimes() {
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
        QCOMPARE(inEffect(&dialog),
                 QStringList({"1 enforced time in effect:", "Al - Tunnel Revolt - Veteran - N/A"}));
        QCOMPARE(time(&dialog)->text(), QString("N/A")); // the box keeps its text
        save(&dialog, 13, 2, "1:05");
        QCOMPARE(folder.read("times.dat"),
                 timesEntry("Al", 3, 1, "N/A") + timesEntry("Al", 13, 2, "1:05"));
        difficulty(&dialog)->setCurrentIndex(1);
        QCOMPARE(time(&dialog)->text(), QString()); // no time for that cell
        level(&dialog)->setCurrentIndex(3);
        QCOMPARE(time(&dialog)->text(), QString("N/A"));

        save(&dialog, 3, 1, "");
        QCOMPARE(folder.read("times.dat"), timesEntry("Al", 13, 2, "1:05"));
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
        QCOMPARE(folder.read("times.dat"),
                 timesEntry("Al", 13, 2, "102") + timesEntry("Al", 3, 1, "n/A"));
    }

    // times.dat unreadable: no count, and an empty box for a time not read
    // removes nothing; Save reads the time again instead.
    void enforcedTimesThatCouldNotBeReadAreNeitherCountedNorRemoved() {
        TempFolder folder;
        std::filesystem::create_directory(folder / "times.dat");
        EnforcedTimesDialog dialog(folder.path(), "Al");
        QCOMPARE(inEffect(&dialog), QStringList({"\"times.dat\" could not be read."}));
        save(&dialog, 3, 1, "");
        std::filesystem::remove(folder / "times.dat");
        folder.write("times.dat", timesEntry("Al", 3, 1, "1:00"));
        click(&dialog, "cmdSave");
        QCOMPARE(time(&dialog)->text(), QString("1:00"));
        QCOMPARE(folder.read("times.dat"), timesEntry("Al", 3, 1, "1:00"));
        const QString unread = "Error: \"times.dat\" could not be read. (x)";
        QCOMPARE(shownMessages(), QStringList({unread, unread}));
    }

    void enforcedTimesBoundToTheMemberSelectedAndListingEveryonesInNameOrder() {
        const std::string zoe = "Zo\xEB" + std::string(70, 'W'); // a long name is shown whole
        Members m(memberLines("Al") + memberLines(zoe), "");
        TempFolder& folder = m.folder;
        const std::string times = timesEntry("bob", 1, 0, "1:00") + timesEntry("Al", 2, 2, "N/A") +
                                  timesEntry("carl", 0, 1, "0:59") +
                                  timesEntry("Bob", 1, 0, "1:00");
        folder.write("times.dat", times);
        QWidget small; // a place kept while a short name was shown
        small.resize(300, 150);
        QSettings().setValue("geometry/quenmark::EnforcedTimesDialog", small.saveGeometry());
        m.choose(1);
        m.press("cmdCustomTimes");
        QPointer<QWidget> dialog = openWindowOf("quenmark::EnforcedTimesDialog");
        const auto* name = control<QLabel>(dialog, "lblName");
        QCOMPARE(name->toolTip(), QString::fromLatin1(zoe));
        QVERIFY(name->wordWrap() && name->height() >= name->heightForWidth(name->width()));
        QCOMPARE(level(dialog)->currentIndex() + difficulty(dialog)->currentIndex(), -2);
        m.choose(0);
        save(dialog, 5, 0, "3:00");
        QCOMPARE(folder.read("times.dat"), times + timesEntry(zoe, 5, 0, "3:00"));
        // Lines equal but for letter case keep their file order.
        QCOMPARE(
            inEffect(dialog),
            QStringList({"5 enforced times in effect:", "Al - Harbour Sprint - Master - N/A",
                         "bob - Copper Crown - Rookie - 1:00", "Bob - Copper Crown - Rookie - 1:00",
                         "carl - Lamplight - Veteran - 0:59",
                         QString::fromLatin1(zoe) + " - Dusk Patrol - Rookie - 3:00"}));
        click(dialog, "cmdDone");
        QTRY_VERIFY(dialog.isNull());

        m.press("cmdCustomTimes"); // a new opening takes the member selected now
        dialog = openWindowOf("quenmark::EnforcedTimesDialog");
        QCOMPARE(control<QLabel>(dialog, "lblName")->toolTip(), QString("Al"));
        QCOMPARE(level(dialog)->currentIndex(), -1);
        dialog->close();
    }
};

QTEST_MAIN(MembersDialogTest)
#include "members_dialog_test.moc"
