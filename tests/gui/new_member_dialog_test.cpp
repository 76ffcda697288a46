#include "app/qt_message_box.h"
#include "dialogs/members_dialog.h"
#include "dialogs/new_member_dialog.h"
#include "tests/support/gui_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

QListWidget* members(const QWidget* w) {
    return control<QListWidget>(w, "lstMembers");
}
QLineEdit* text(const QWidget* w, const char* name) {
    return control<QLineEdit>(w, name);
}
void click(const QWidget* w, const char* name) {
    QTest::mouseClick(control<QPushButton>(w, name), Qt::LeftButton);
}

// Opens New Member from the Members window and fills it as memberLines does.
QPointer<QWidget> typeNewMember(QWidget* membersWindow, const std::string& name,
                                bool invalid = false) {
    click(membersWindow, "cmdNew");
    QPointer<QWidget> dialog = openWindowOf("NewMemberDialog");
    if (!dialog)
        qFatal("New Member did not open");
    const QString n = QString::fromLatin1(name.c_str());
    QTest::keyClicks(text(dialog, "txtName"), n);
    QTest::keyClicks(text(dialog, "txtInitials"), n.left(2));
    QTest::keyClicks(text(dialog, "txtColor"), "red");
    QTest::keyClicks(text(dialog, "txtPage"), "http://example.org/" + n);
    QTest::keyClicks(text(dialog, "txtEmail"), n + "@mail");
    control<QCheckBox>(dialog, "chkInvalid")->setChecked(invalid);
    return dialog;
}

} // namespace

class NewMemberDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { answerMessagesInTest(); }

    void addedMembersStandBetweenTheActiveAndTheBanned() {
        GuiFolder folder;
        std::string roster;
        for (const char* name : {"Al", "Bo", "Cy", "Di", "Ed"})
            roster += memberLines(name);
        folder.write("roster.txt", roster);
        folder.write("banned.txt", memberLines("Xu") + memberLines("Yo"));
        folder.write("invalidchrs.dat", "");
        QPointer<MembersDialog> window = openMembersWindow(folder.path());
        members(window)->setCurrentRow(2);

        QPointer<QWidget> first = typeNewMember(window, "Zed");
        click(first, "cmdAdd");
        QTRY_VERIFY(first.isNull());
        QPointer<QWidget> second = typeNewMember(window, "Abe");
        click(second, "cmdAdd");

        QCOMPARE(folder.read("roster.txt"), roster + memberLines("Zed") + memberLines("Abe"));
        QCOMPARE(folder.read("banned.txt"), memberLines("Xu") + memberLines("Yo"));
        QCOMPARE(listTexts(members(window)),
                 QStringList({"Al", "Bo", "Cy", "Di", "Ed", "Zed", "Abe", "Xu", "Yo"}));
        QCOMPARE(control<QLabel>(window, "lblNo")->text(), QString("7"));
        // No Select ran: the member chosen before is still chosen and shown.
        QCOMPARE(members(window)->selectedItems().front()->text(), QString("Cy"));
        QCOMPARE(text(window, "txtName")->text(), QString("Cy"));

        members(window)->setCurrentRow(5);
        QCOMPARE(text(window, "txtEmail")->text(), QString("Zed@mail"));
        members(window)->setCurrentRow(6);
        QCOMPARE(text(window, "txtEmail")->text(), QString("Abe@mail"));
        members(window)->setCurrentRow(7);
        QCOMPARE(text(window, "txtEmail")->text(), QString("Xu@mail"));
        window->close();
    }

    void invalidCharacterGivesTheNextFreeNumber_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("expected");
        QTest::newRow("numbers 1 and 2")
            << QByteArray::fromStdString(numberEntry("X", 1) + numberEntry("Y", 2)) << 3;
        QTest::newRow("empty file") << QByteArray() << 1;
        QTest::newRow("numbers 2 and 3")
            << QByteArray::fromStdString(numberEntry("X", 2) + numberEntry("Y", 3)) << 1;
    }
    void invalidCharacterGivesTheNextFreeNumber() {
        QFETCH(QByteArray, before);
        QFETCH(int, expected);
        GuiFolder folder;
        folder.write("roster.txt", "");
        folder.write("banned.txt", "");
        folder.write("invalidchrs.dat", before.toStdString());
        QPointer<MembersDialog> window = openMembersWindow(folder.path());
        click(typeNewMember(window, "A/B", true), "cmdAdd");
        QCOMPARE(folder.read("invalidchrs.dat"),
                 before.toStdString() + numberEntry("A/B", expected));
        QCOMPARE(folder.read("roster.txt"), memberLines("A/B"));
        window->close();
    }

    void addWritesTheFilesWhenTheMembersWindowIsGone() {
        GuiFolder folder;
        folder.write("roster.txt", memberLines("Al"));
        folder.write("banned.txt", "");
        folder.write("invalidchrs.dat", "");
        QPointer<MembersDialog> window = openMembersWindow(folder.path());
        QPointer<QWidget> dialog = typeNewMember(window, "Bo", true);
        click(window, "cmdDone");
        QTRY_VERIFY(window.isNull());
        QVERIFY(dialog);
        click(dialog, "cmdAdd");
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(folder.read("roster.txt"), memberLines("Al") + memberLines("Bo"));
        QCOMPARE(folder.read("invalidchrs.dat"), numberEntry("Bo", 1));
        QVERIFY(MessageBoxes::shown().empty());
    }

    void cancelWritesNothingAndEachOpeningStartsEmpty() {
        GuiFolder folder;
        folder.write("roster.txt", memberLines("Al"));
        folder.write("banned.txt", "");
        folder.write("invalidchrs.dat", "");
        QPointer<MembersDialog> window = openMembersWindow(folder.path());
        QPointer<QWidget> dialog = typeNewMember(window, "Bo", true);
        QTest::keyClicks(text(dialog, "txtInitials"), "XYZ");
        QCOMPARE(text(dialog, "txtInitials")->text(), QString("Bo")); // two characters at most
        click(dialog, "cmdCancel");
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(folder.read("roster.txt"), memberLines("Al"));
        QCOMPARE(folder.read("invalidchrs.dat"), std::string());
        QCOMPARE(listTexts(members(window)), QStringList({"Al"}));

        click(window, "cmdNew");
        QWidget* again = openWindowOf("NewMemberDialog");
        for (const char* field : {"txtName", "txtInitials", "txtColor", "txtPage", "txtEmail"})
            QCOMPARE(text(again, field)->text(), QString());
        QVERIFY(!control<QCheckBox>(again, "chkInvalid")->isChecked());
        QCOMPARE(control<QCheckBox>(again, "chkInvalid")->text(), QString("Invalid character"));
        QCOMPARE(again->windowTitle(), QString("Updater - New Member"));
        again->close();
        window->close();
    }
};

QTEST_MAIN(NewMemberDialogTest)
#include "new_member_dialog_test.moc"
