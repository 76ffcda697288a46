#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"
#include "tests/support/gui_support.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

using namespace quenmark;

class SearchDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { answerMessagesInTest(); }

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
        TempFolder folder;
        writeMemberFiles(folder, memberLines("Anne") + memberLines("Ann") + memberLines("Bob"),
                         memberLines("ann") + memberLines("Zoe"));
        QPointer<MembersDialog> window = openMembersWindow(folder.path());
        auto* list = control<QListWidget>(window, "lstMembers");
        list->setCurrentRow(4);
        click(window, "cmdSearch");
        QPointer<QWidget> dialog = openWindowOf("quenmark::SearchDialog");
        control<QLineEdit>(dialog, "txtName")->setText(typed);
        click(dialog, "cmdSearch");
        QCOMPARE(shownMessages(), message.isEmpty() ? QStringList() : QStringList({message}));
        QCOMPARE(list->currentRow(), found < 0 ? 4 : found);
        QCOMPARE(control<QLineEdit>(window, "txtName")->text(),
                 listTexts(list)[list->currentRow()]); // shown by Select
        QTRY_COMPARE(dialog.isNull(), found >= 0);
        QCOMPARE(openWindowOf("quenmark::SearchDialog"), dialog.data());
        if (dialog)
            dialog->close();
        window->close();
    }
};

QTEST_MAIN(SearchDialogTest)
#include "search_dialog_test.moc"
