#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"
#include "tests/support/gui_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

using namespace quenmark;

namespace {

// Opens New Member from the Members window and types the fields memberLines derives from the name.
QPointer<QWidget> typeNewMember(QWidget* membersWindow, const QString& name, bool invalid) {
    click(membersWindow, "cmdNew");
    QPointer<QWidget> dialog = openWindowOf("quenmark::NewMemberDialog");
    if (!dialog)
        qFatal("New Member did not open");
    // The whole name goes into the initials too: the box keeps two characters.
    const QString fields[] = {name, name, "red", "http://example.org/" + name, name + "@mail"};
    const char* const names[] = {"txtName", "txtInitials", "txtColor", "txtPage", "txtEmail"};
    for (int i = 0; i < 5; ++i)
        QTest::keyClicks(control<QLineEdit>(dialog, names[i]), fields[i]);
    control<QCheckBox>(dialog, "chkInvalid")->setChecked(invalid);
    return dialog;
}

} // namespace

class NewMemberDialogTest : public QObject {
    Q_OBJECT

    static QListWidget* members(const QWidget* w) { return control<QListWidget>(w, "lstMembers"); }

private slots:
    void init() { answerMessagesInTest(); }

    void addedMembersStandBetweenTheActiveAndTheBannedWithTheSmallestFreeNumbers() {
        TempFolder folder;
        const std::string roster = memberLines("Al") + memberLines("Bo") + memberLines("Cy");
        writeMemberFiles(folder, roster, memberLines("Xu") + memberLines("Yo"),
                         numberEntry("X", 2));
        QPointer<MembersDialog> window = openMembersWindow(folder.path());
        members(window)->setCurrentRow(1);
        for (const char* name : {"Z/d", "A:e"}) {
            QPointer<QWidget> dialog = typeNewMember(window, name, true);
            click(dialog, "cmdAdd");
            QTRY_VERIFY(dialog.isNull());
        }
        QCOMPARE(folder.read("roster.txt"), roster + memberLines("Z/d") + memberLines("A:e"));
        QCOMPARE(folder.read("banned.txt"), memberLines("Xu") + memberLines("Yo"));
        QCOMPARE(folder.read("invalidchrs.dat"),
                 numberEntry("X", 2) + numberEntry("Z/d", 1) + numberEntry("A:e", 3));
        QCOMPARE(listTexts(members(window)),
                 QStringList({"Al", "Bo", "Cy", "Z/d", "A:e", "Xu", "Yo"}));
        QCOMPARE(control<QLabel>(window, "lblNo")->text(), QString("5"));
        // No Select ran: the member chosen before is still shown.
        QCOMPARE(control<QLineEdit>(window, "txtName")->text(), QString("Bo"));
        members(window)->setCurrentRow(4); // the list entries lead to the right records
        QCOMPARE(control<QLineEdit>(window, "txtEmail")->text(), QString("A:e@mail"));
        window->close();
    }
};

QTEST_MAIN(NewMemberDialogTest)
#include "new_member_dialog_test.moc"
