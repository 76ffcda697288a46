#include "app/main_window.h"
#include "app/qt_message_box.h"
#include "dialogs/members_dialog.h"
#include "tests/support/gui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QListWidget* members(const QWidget* w) {
    return control<QListWidget>(w, "lstMembers");
}
QString count(const QWidget* w) {
    return control<QLabel>(w, "lblNo")->text();
}
QLineEdit* text(const QWidget* w, const char* name) {
    return control<QLineEdit>(w, name);
}
QComboBox* status(const QWidget* w) {
    return control<QComboBox>(w, "cboStatus");
}
QCheckBox* invalid(const QWidget* w) {
    return control<QCheckBox>(w, "chkInvalid");
}
void click(const QWidget* w, const char* name) {
    QTest::mouseClick(control<QPushButton>(w, name), Qt::LeftButton);
}
// The selection as the operator makes it, which runs Select.
void choose(const QWidget* w, int row) {
    members(w)->setCurrentRow(row);
}

struct Files {
    GuiFolder folder;
    Files(const std::string& roster, const std::string& banned, const std::string& invalid = "") {
        folder.write("roster.txt", roster);
        folder.write("banned.txt", banned);
        folder.write("invalidchrs.dat", invalid);
    }
    std::string all() const {
        return folder.read("roster.txt") + "|" + folder.read("banned.txt") + "|" +
               folder.read("invalidchrs.dat");
    }
};

} // namespace

class MembersDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { answerMessagesInTest(); }

    void openingSortsBothFilesAndSelectsTheFirstMember() {
        Files f(memberLines("Carol") + memberLines("alice") + memberLines("Bob"),
                memberLines("zed") + memberLines("Ann"));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        QCOMPARE(f.folder.read("roster.txt"),
                 memberLines("alice") + memberLines("Bob") + memberLines("Carol"));
        QCOMPARE(f.folder.read("banned.txt"), memberLines("Ann") + memberLines("zed"));
        QCOMPARE(listTexts(members(&dialog)), QStringList({"alice", "Bob", "Carol", "Ann", "zed"}));
        QCOMPARE(count(&dialog), QString("3"));
        QCOMPARE(members(&dialog)->selectedItems().size(), 1);
        QCOMPARE(members(&dialog)->currentRow(), 0);
        QCOMPARE(text(&dialog, "txtName")->text(), QString("alice"));
        QCOMPARE(text(&dialog, "txtInitials")->text(), QString("al"));
        QCOMPARE(text(&dialog, "txtColor")->text(), QString("red"));
        QCOMPARE(text(&dialog, "txtPage")->text(), QString("http://example.org/alice"));
        QCOMPARE(text(&dialog, "txtEmail")->text(), QString("alice@mail"));
        QCOMPARE(status(&dialog)->currentText(), QString("Active"));
        QVERIFY(MessageBoxes::shown().empty());
    }

    void missingFileEndsTheProgram_data() {
        QTest::addColumn<QString>("missing");
        QTest::newRow("roster") << "roster.txt";
        QTest::newRow("banned") << "banned.txt";
    }
    void missingFileEndsTheProgram() {
        QFETCH(QString, missing);
        GuiFolder folder;
        for (const char* name : {"roster.txt", "banned.txt"})
            if (missing != name)
                folder.write(name, memberLines("Al"));
        MembersDialog dialog(folder.path());
        QSignalSpy end(&dialog, &MembersDialog::programEndRequested);
        QVERIFY(!dialog.openFiles());
        QCOMPARE(end.count(), 1);
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{1});
        const auto& shown = MessageBoxes::shown().front();
        QCOMPARE(shown.title, QString("Critical Error"));
        QCOMPARE(shown.text, "\"" + missing +
                                 "\" could not be found. Make sure it is named correctly and in "
                                 "the main folder.");
        QVERIFY(shown.icon == MessageIcon::Critical);
        QVERIFY(!folder.exists(missing.toStdString()));
    }

    void damagedFileKeepsTheWindowClosedWithoutEndingTheProgram() {
        Files f(crlf({"Cut", "Cu"}), "");
        MembersDialog dialog(f.folder.path());
        QSignalSpy end(&dialog, &MembersDialog::programEndRequested);
        QVERIFY(!dialog.openFiles());
        QCOMPARE(end.count(), 0);
        QCOMPARE(MessageBoxes::shown().front().title, QString("Error"));
        QVERIFY(MessageBoxes::shown().front().text.contains("\"roster.txt\" is damaged"));
        QCOMPARE(f.folder.read("roster.txt"), crlf({"Cut", "Cu"}));
    }

    void selectShowsStatusAndInvalidBoxFromTheFiles() {
        Files f(memberLines("Al"), memberLines("Bo"), numberEntry("Bo", 4));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        QVERIFY(!invalid(&dialog)->isChecked());
        choose(&dialog, 1);
        QCOMPARE(text(&dialog, "txtName")->text(), QString("Bo"));
        QCOMPARE(status(&dialog)->currentText(), QString("Banned!"));
        QVERIFY(invalid(&dialog)->isChecked());

        // Typed changes live only in the fields: selecting again reads the files.
        text(&dialog, "txtEmail")->setText("typed");
        choose(&dialog, 0);
        choose(&dialog, 1);
        QCOMPARE(text(&dialog, "txtEmail")->text(), QString("Bo@mail"));
    }

    void savingAsBannedMovesTheMemberToTheStartOfBanned() {
        Files f(memberLines("Al") + memberLines("Bo") + memberLines("Cy"), memberLines("Di"));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        choose(&dialog, 1);
        status(&dialog)->setCurrentIndex(1);
        click(&dialog, "cmdSave");
        QCOMPARE(f.folder.read("roster.txt"), memberLines("Al") + memberLines("Cy"));
        QCOMPARE(f.folder.read("banned.txt"), memberLines("Bo") + memberLines("Di"));
        QCOMPARE(count(&dialog), QString("2"));
        QCOMPARE(listTexts(members(&dialog)), QStringList({"Al", "Cy", "Bo", "Di"}));
        QCOMPARE(members(&dialog)->currentRow(), 0);
        QCOMPARE(text(&dialog, "txtName")->text(), QString("Al"));
    }

    void savingWritesTheFieldsAsLatin1() {
        Files f(memberLines("Zo\xEB"), "");
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        QCOMPARE(text(&dialog, "txtName")->text(), QString::fromUtf8("Zoë"));
        text(&dialog, "txtColor")->setText(QString::fromUtf8("grün€"));
        click(&dialog, "cmdSave");
        QCOMPARE(
            f.folder.read("roster.txt"),
            crlf({"Zo\xEB", "Zo", "gr\xFCn?", "http://example.org/Zo\xEB", "Zo\xEB@mail", ""}));
    }

    void initialsAreTypedUpToTwoCharactersButLongerOnesOnFileStayWhole() {
        Files f(crlf({"Al", "ABC", "red", "p", "e", ""}) + memberLines("Bo"), "");
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        QCOMPARE(text(&dialog, "txtInitials")->text(), QString("ABC"));
        click(&dialog, "cmdSave");
        QCOMPARE(f.folder.read("roster.txt"),
                 crlf({"Al", "ABC", "red", "p", "e", ""}) + memberLines("Bo"));
        choose(&dialog, 1);
        QLineEdit* initials = text(&dialog, "txtInitials");
        initials->clear();
        QTest::keyClicks(initials, "XYZ");
        QCOMPARE(initials->text(), QString("XY"));
    }

    void invalidBoxTickUntickAndRetick() {
        Files f(memberLines("A/B"), "", numberEntry("X", 1) + numberEntry("Y", 3));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        invalid(&dialog)->setChecked(true);
        click(&dialog, "cmdSave");
        QCOMPARE(f.folder.read("invalidchrs.dat"),
                 numberEntry("X", 1) + numberEntry("Y", 3) + numberEntry("A/B", 2));
        QVERIFY(invalid(&dialog)->isChecked()); // shown again after Save's Select

        invalid(&dialog)->setChecked(false);
        click(&dialog, "cmdSave");
        QCOMPARE(f.folder.read("invalidchrs.dat"), numberEntry("X", 1) + numberEntry("Y", 3));
        QVERIFY(!invalid(&dialog)->isChecked());

        invalid(&dialog)->setChecked(true);
        click(&dialog, "cmdSave");
        QCOMPARE(f.folder.read("invalidchrs.dat"),
                 numberEntry("X", 1) + numberEntry("Y", 3) + numberEntry("A/B", 2));
    }

    void renamingWithTheBoxTickedKeepsTheNumber() {
        Files f(memberLines("A/B") + memberLines("Zed"), "", numberEntry("A/B", 3));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        QVERIFY(invalid(&dialog)->isChecked());
        text(&dialog, "txtName")->setText("C/D");
        click(&dialog, "cmdSave");
        QCOMPARE(f.folder.read("invalidchrs.dat"), numberEntry("C/D", 3));
        QCOMPARE(listTexts(members(&dialog)), QStringList({"C/D", "Zed"}));
        QVERIFY(invalid(&dialog)->isChecked());
    }

    void deleteAsksAndRemovesOnYes() {
        Files f(memberLines("Al") + memberLines("Bo"), memberLines("Cy"),
                numberEntry("Bo", 1) + numberEntry("Cy", 2));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        choose(&dialog, 1);
        QVERIFY(invalid(&dialog)->isChecked());
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::Yes);
        click(&dialog, "cmdDelete");
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{1});
        const auto& question = MessageBoxes::shown().front();
        QCOMPARE(question.title, QString("Delete?"));
        QCOMPARE(question.text, QString("All saved data for Bo will be lost.\nAre you sure?"));
        QVERIFY(question.icon == MessageIcon::Question);
        QVERIFY(question.buttons == MessageBoxes::Buttons::YesNo);

        QCOMPARE(f.folder.read("roster.txt"), memberLines("Al"));
        QCOMPARE(f.folder.read("banned.txt"), memberLines("Cy"));
        QCOMPARE(f.folder.read("invalidchrs.dat"), numberEntry("Cy", 2));
        QCOMPARE(listTexts(members(&dialog)), QStringList({"Al", "Cy"}));
        QVERIFY(members(&dialog)->selectedItems().isEmpty());
        QCOMPARE(count(&dialog), QString("1"));
        for (const char* field : {"txtName", "txtInitials", "txtColor", "txtPage", "txtEmail"})
            QCOMPARE(text(&dialog, field)->text(), QString());
        QCOMPARE(status(&dialog)->currentText(), QString("Active"));
        QVERIFY(invalid(&dialog)->isChecked()); // keeps its state

        // With nothing selected, Save and Delete refuse and write nothing.
        const std::string before = f.all();
        text(&dialog, "txtName")->setText("Ghost");
        click(&dialog, "cmdSave");
        click(&dialog, "cmdDelete");
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{3});
        QCOMPARE(MessageBoxes::shown()[1].title, QString("Cannot save member"));
        QCOMPARE(MessageBoxes::shown()[1].text, QString("Choose a member in the list first."));
        QVERIFY(MessageBoxes::shown()[1].icon == MessageIcon::Information);
        QCOMPARE(MessageBoxes::shown()[2].title, QString("Cannot delete member"));
        QCOMPARE(MessageBoxes::shown()[2].text, QString("You have no members to delete!"));
        QVERIFY(MessageBoxes::shown()[2].icon == MessageIcon::Information);
        QCOMPARE(f.all(), before);
    }

    void declinedDeleteChangesNothing() {
        Files f(memberLines("Al") + memberLines("Bo"), "", numberEntry("Al", 1));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        const std::string before = f.all();
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::No);
        click(&dialog, "cmdDelete");
        QCOMPARE(f.all(), before);
        QCOMPARE(listTexts(members(&dialog)), QStringList({"Al", "Bo"}));
        QCOMPARE(members(&dialog)->currentRow(), 0);
        QCOMPARE(text(&dialog, "txtName")->text(), QString("Al"));
    }

    void deletingTheLastActiveMemberLeavesAnEmptyRoster() {
        Files f(memberLines("Al"), memberLines("Bo"));
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        click(&dialog, "cmdDelete"); // answered Yes
        QCOMPARE(f.folder.read("roster.txt"), std::string());
        QCOMPARE(f.folder.read("banned.txt"), memberLines("Bo"));
        QCOMPARE(count(&dialog), QString("0"));
        QCOMPARE(listTexts(members(&dialog)), QStringList({"Bo"}));
    }

    void emptyFilesGiveAnEmptyListAndNothingToDelete() {
        Files f("", "");
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        QCOMPARE(members(&dialog)->count(), 0);
        QCOMPARE(count(&dialog), QString("0"));
        click(&dialog, "cmdDelete");
        QCOMPARE(MessageBoxes::shown().back().text, QString("You have no members to delete!"));
    }

    void enforcedTimesNeedsASelectedMember() {
        Files f(memberLines("Al"), "");
        MembersDialog dialog(f.folder.path());
        QVERIFY(dialog.openFiles());
        click(&dialog, "cmdDelete");
        click(&dialog, "cmdCustomTimes");
        const auto& shown = MessageBoxes::shown().back();
        QCOMPARE(shown.title, QString("Enforced Times"));
        QCOMPARE(shown.text, QString("Choose a member in the list first."));
        QVERIFY(shown.icon == MessageIcon::Information);
        QVERIFY(!openWindowOf("EnforcedTimesDialog"));
        QVERIFY(!f.folder.exists("times.dat"));
    }

    void tabOrderRunsFromTheListThroughTheFieldsToTheButtons() {
        Files f(memberLines("Al"), "");
        MembersDialog dialog(f.folder.path());
        const QStringList expected = {"lstMembers",     "txtName",   "txtInitials", "txtColor",
                                      "txtPage",        "txtEmail",  "cboStatus",   "cmdSave",
                                      "chkInvalid",     "cmdSearch", "cmdNew",      "cmdDelete",
                                      "cmdCustomTimes", "cmdDone"};
        QStringList chain;
        QWidget* first = members(&dialog);
        QWidget* w = first;
        do {
            if (expected.contains(w->objectName()))
                chain.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != first);
        QCOMPARE(chain, expected);
    }

    void subWindowsOpenOnceAndOutliveTheMembersWindow() {
        Files f(memberLines("Al"), "");
        QPointer<MembersDialog> first = openMembersWindow(f.folder.path());
        click(first, "cmdNew");
        click(first, "cmdSearch");
        click(first, "cmdCustomTimes");
        QPointer<QWidget> newMember = openWindowOf("NewMemberDialog");
        QPointer<QWidget> search = openWindowOf("SearchDialog");
        QPointer<QWidget> times = openWindowOf("EnforcedTimesDialog");
        QVERIFY(newMember && search && times);
        click(first, "cmdNew"); // only brings it to the front
        click(first, "cmdSearch");
        click(first, "cmdCustomTimes");
        QCOMPARE(openWindowOf("NewMemberDialog"), newMember.data());
        QCOMPARE(openWindowOf("SearchDialog"), search.data());
        QCOMPARE(openWindowOf("EnforcedTimesDialog"), times.data());

        click(first, "cmdDone");
        QTRY_VERIFY(first.isNull());
        QVERIFY(newMember && search && times);

        // A new Members window takes them over rather than opening second ones.
        QPointer<MembersDialog> second = openMembersWindow(f.folder.path());
        click(second, "cmdNew");
        click(second, "cmdSearch");
        click(second, "cmdCustomTimes");
        QCOMPARE(openWindowOf("NewMemberDialog"), newMember.data());
        QCOMPARE(openWindowOf("SearchDialog"), search.data());
        QCOMPARE(openWindowOf("EnforcedTimesDialog"), times.data());

        // ... and a member added there reaches the new window's list.
        text(newMember, "txtName")->setText("Bo");
        click(newMember, "cmdAdd");
        QCOMPARE(listTexts(members(second)), QStringList({"Al", "Bo"}));

        for (QWidget* w : {static_cast<QWidget*>(second.data()), search.data(), times.data()})
            w->close();
        QTRY_VERIFY(!second && !search && !times && !newMember);
    }

    void mainWindowOpensOneMembersWindowAndTheNextOpeningReadsAfresh() {
        Files f(memberLines("Bo") + memberLines("Al"), "");
        MainWindow main(f.folder.path());
        main.show();
        click(&main, "cmdMembers");
        QPointer<QWidget> first = openWindowOf("MembersDialog");
        QVERIFY(first);
        QCOMPARE(listTexts(members(first)), QStringList({"Al", "Bo"}));

        f.folder.write("roster.txt", memberLines("Cy"));
        click(&main, "cmdMembers"); // only brings it to the front: Open does not run again
        QCOMPARE(openWindowOf("MembersDialog"), first.data());
        QCOMPARE(listTexts(members(first)), QStringList({"Al", "Bo"}));

        click(first, "cmdDone");
        QTRY_VERIFY(first.isNull());
        click(&main, "cmdMembers");
        QWidget* second = openWindowOf("MembersDialog");
        QCOMPARE(listTexts(members(second)), QStringList({"Cy"}));
        second->close();
    }

    void mainWindowEndsTheProgramWhenAMemberFileIsMissing() {
        GuiFolder folder;
        folder.write("roster.txt", memberLines("Al"));
        MainWindow main(folder.path());
        main.show();
        click(&main, "cmdMembers");
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{1});
        QVERIFY(
            MessageBoxes::shown().front().text.startsWith("\"banned.txt\" could not be found."));
        QVERIFY(!openWindowOf("MembersDialog"));
        QVERIFY(!main.isVisible());
    }
};

QTEST_MAIN(MembersDialogTest)
#include "members_dialog_test.moc"
