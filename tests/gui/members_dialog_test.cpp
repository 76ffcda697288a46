#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"
#include "tests/support/gui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

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
    QString count() { return control<QLabel>(&window, "lblNo")->text(); }
    QStringList list() { return listTexts(control<QListWidget>(&window, "lstMembers")); }
    void choose(int row) { control<QListWidget>(&window, "lstMembers")->setCurrentRow(row); }
    void press(const char* button) { click(&window, button); }
    std::string files() { return folder.read("roster.txt") + "|" + folder.read("banned.txt"); }
    // The fields as a roster record, to compare with memberLines, and the status after it.
    std::string shown() {
        std::string record;
        for (const char* name : {"txtName", "txtInitials", "txtColor", "txtPage", "txtEmail"})
            record += text(name)->text().toLatin1().toStdString() + "\r\n";
        return record + "\r\n" + status()->currentText().toStdString();
    }
};

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
        QCOMPARE(m.files(), roster + "|" + memberLines("Ann") + memberLines("zed"));
        QCOMPARE(m.list(), QStringList({"alice", "Bob", "Bob", "bob", QString::fromStdString(carol),
                                        "Ann (banned)", "zed (banned)"}));
        QCOMPARE(m.count(), QString("5"));
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
        QCOMPARE(m.count(), QString("6"));
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
                 memberLines("Al") + memberLines("Zz") + "|" + zoeSaved + memberLines("Zzz"));
        QCOMPARE(m.count(), QString("2"));
        QCOMPARE(m.list(),
                 QStringList({"Al", "Zz", QString::fromUtf8("Zoë (banned)"), "Zzz (banned)"}));
        QCOMPARE(m.shown(), memberLines("Al") + "Active"); // Save ends with a Select

        m.choose(2); // let back: the last of the roster
        m.status()->setCurrentIndex(0);
        m.press("cmdSave");
        QCOMPARE(m.files(),
                 memberLines("Al") + memberLines("Zz") + zoeSaved + "|" + memberLines("Zzz"));
    }

    // Tick, untick and tick again take the smallest free number; a rename keeps it.
    void invalidBoxAndRenaming() {
        const std::string others = numberEntry("X", 1) + numberEntry("Y", 3);
        Members m(memberLines("A/B") + memberLines("Zed"), "", others);
        for (const bool ticked : {true, false, true}) {
            m.invalid()->setChecked(ticked);
            m.press("cmdSave");
            QCOMPARE(m.folder.read("invalidchrs.dat"),
                     others + (ticked ? numberEntry("A/B", 2) : ""));
            QCOMPARE(m.invalid()->isChecked(), ticked); // shown again by Save's Select
        }
        m.text("txtName")->setText("C/D");
        m.press("cmdSave");
        QCOMPARE(m.folder.read("invalidchrs.dat"), others + numberEntry("C/D", 2));
        QCOMPARE(m.list(), QStringList({"C/D", "Zed"}));
        QVERIFY(m.invalid()->isChecked());

        // Onto a name that has a number: that number stays, his own goes.
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
            QCOMPARE(m.folder.read("roster.txt"), changed);
            QCOMPARE(m.folder.read("invalidchrs.dat"), numberEntry("Bo", 1));
            QCOMPARE(m.list(), QStringList({"Al", "Cy", "Bo"}));
        }
        const QString told = "Error: The member files changed; the list was read again. (!)";
        QCOMPARE(shownMessages(), QStringList({told, told}));
    }

    void deleteAsksAndWithNothingSelectedTheButtonsRefuse() {
        Members m(memberLines("Al") + memberLines("Bo"), memberLines("Cy"),
                  numberEntry("Bo", 1) + numberEntry("Cy", 2));
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::No);
        m.press("cmdDelete");
        QCOMPARE(m.list(), QStringList({"Al", "Bo", "Cy (banned)"}));
        QCOMPARE(m.shown(), memberLines("Al") + "Active");

        m.choose(1);
        m.press("cmdDelete"); // answered Yes
        const std::string after = memberLines("Al") + "|" + memberLines("Cy");
        QCOMPARE(m.files(), after);
        QCOMPARE(m.folder.read("invalidchrs.dat"), numberEntry("Cy", 2));
        QCOMPARE(m.list(), QStringList({"Al", "Cy (banned)"}));
        QCOMPARE(m.count(), QString("1"));
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
        QCOMPARE(m.folder.read("invalidchrs.dat"), numberEntry("Cy", 2));
        QVERIFY(!openWindowOf("quenmark::EnforcedTimesDialog"));

        m.choose(0);
        m.press("cmdDelete"); // the last active member
        QCOMPARE(m.files(), "|" + memberLines("Cy"));
        QCOMPARE(m.count(), QString("0"));
        QCOMPARE(m.list(), QStringList({"Cy (banned)"}));
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
            // The whole name goes into the initials too: the box keeps two characters.
            const QString fields[] = {name, name, "red", QString("http://example.org/") + name,
                                      name + QString("@mail")};
            const char* const names[] = {"txtName", "txtInitials", "txtColor", "txtPage",
                                         "txtEmail"};
            for (int i = 0; i < 5; ++i)
                QTest::keyClicks(control<QLineEdit>(dialog, names[i]), fields[i]);
            control<QCheckBox>(dialog, "chkInvalid")->setChecked(true);
            click(dialog, "cmdAdd");
            QTRY_VERIFY(dialog.isNull());
        }
        QCOMPARE(m.files(), roster + memberLines("Z/d") + memberLines("A:e") + "|" +
                                memberLines("Xu") + memberLines("Yo"));
        QCOMPARE(m.folder.read("invalidchrs.dat"),
                 numberEntry("X", 2) + numberEntry("Z/d", 1) + numberEntry("A:e", 3));
        QCOMPARE(m.list(),
                 QStringList({"Al", "Bo", "Cy", "Z/d", "A:e", "Xu (banned)", "Yo (banned)"}));
        QCOMPARE(m.count(), QString("5"));
        QCOMPARE(m.text("txtName")->text(), QString("Bo")); // no Select ran
        m.choose(4); // the list entries lead to the right records
        QCOMPARE(m.text("txtEmail")->text(), QString("A:e@mail"));
    }

    // Last: a missing file ends the program; one damaged or unreadable keeps
    // the window closed and is left as it is.
    void fileThatCannotBeReadKeepsTheWindowClosed_data() {
        QTest::addColumn<QString>("missing"); // none: roster.txt is damaged; "name/": a folder
        QTest::addColumn<QString>("message");
        const QString critical = "Critical Error: \"%1\" could not be found. Make sure it is "
                                 "named correctly and in the main folder. (x)";
        QTest::newRow("damaged roster") << ""
                                        << "Error: \"roster.txt\" is damaged";
        QTest::newRow("roster missing") << "roster.txt" << critical.arg("roster.txt");
        QTest::newRow("banned missing") << "banned.txt" << critical.arg("banned.txt");
        QTest::newRow("roster a folder") << "roster.txt/"
                                         << "Error: \"roster.txt\" could not be read. (x)";
    }
    void fileThatCannotBeReadKeepsTheWindowClosed() {
        QFETCH(QString, missing);
        QFETCH(QString, message);
        TempFolder folder;
        const std::string roster = missing.isEmpty() ? crlf({"Cut", "Cu"}) : memberLines("Al");
        writeMemberFiles(folder, roster, "");
        const bool folderInPlace = missing.endsWith('/');
        const std::string file = missing.chopped(folderInPlace).toStdString();
        if (!file.empty())
            std::filesystem::remove(folder / file);
        if (folderInPlace)
            std::filesystem::create_directories(folder / file / "inside");
        MainWindowOnStandIns main(folder.path());
        click(&main.window, "cmdMembers");
        QCOMPARE(shownMessages().size(), 1);
        QVERIFY2(shownMessages().front().startsWith(message), qPrintable(shownMessages().front()));
        QVERIFY(!openWindowOf("quenmark::MembersDialog"));
        QCOMPARE(main.window.isVisible(), file.empty() || folderInPlace);
        if (folderInPlace)
            QVERIFY(std::filesystem::is_directory(folder / file / "inside"));
        else
            QCOMPARE(folder.read("roster.txt"), file == "roster.txt" ? "" : roster);
    }
};

QTEST_MAIN(MembersDialogTest)
#include "members_dialog_test.moc"
