#include "app/qt_message_box.h"
#include "dialogs/members_dialog.h"
#include "tests/support/gui_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

QLineEdit* text(const QWidget* w, const char* name) {
    return control<QLineEdit>(w, name);
}
void click(const QWidget* w, const char* name) {
    QTest::mouseClick(control<QPushButton>(w, name), Qt::LeftButton);
}

struct Members {
    GuiFolder folder;
    QPointer<MembersDialog> window;
    Members() {
        folder.write("roster.txt", memberLines("Anne") + memberLines("Ann") + memberLines("Bob"));
        folder.write("banned.txt", memberLines("ann") + memberLines("Zoe"));
        folder.write("invalidchrs.dat", "");
        window = openMembersWindow(folder.path());
    }
    ~Members() {
        if (window)
            window->close();
    }
    QPointer<QWidget> search(const QString& name) {
        click(window, "cmdSearch");
        QPointer<QWidget> dialog = openWindowOf("SearchDialog");
        if (!dialog)
            qFatal("Search did not open");
        text(dialog, "txtName")->setText(name);
        click(dialog, "cmdSearch");
        return dialog;
    }
    int selected() const { return control<QListWidget>(window, "lstMembers")->currentRow(); }
};

} // namespace

class SearchDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { answerMessagesInTest(); }

    void findsTheFirstWholeNameLetterCaseAside_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("status");
        // The files are sorted on opening: Ann, Anne, Bob | ann, Zoe.
        QTest::newRow("other letter case") << "BOB" << 2 << "Active";
        QTest::newRow("active before banned of the same name") << "aNN" << 0 << "Active";
        QTest::newRow("whole name only") << "anne" << 1 << "Active";
        QTest::newRow("banned member") << "zoe" << 4 << "Banned!";
    }
    void findsTheFirstWholeNameLetterCaseAside() {
        QFETCH(QString, typed);
        QFETCH(int, row);
        QFETCH(QString, status);
        Members m;
        control<QListWidget>(m.window, "lstMembers")->setCurrentRow(3);
        QPointer<QWidget> dialog = m.search(typed);
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(MessageBoxes::shown().empty());
        QCOMPARE(m.selected(), row);
        QCOMPARE(text(m.window, "txtName")->text().toLower(), typed.toLower());
        QCOMPARE(control<QComboBox>(m.window, "cboStatus")->currentText(), status);
    }

    void notFoundAndEmptyKeepTheWindowOpen_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("a blank") << " "
                                 << "Not Found"
                                 << "Member not found. Please check your spelling.";
        QTest::newRow("part of a name") << "An"
                                        << "Not Found"
                                        << "Member not found. Please check your spelling.";
        QTest::newRow("empty") << ""
                               << "No name"
                               << "You must enter a name.";
    }
    void notFoundAndEmptyKeepTheWindowOpen() {
        QFETCH(QString, typed);
        QFETCH(QString, title);
        QFETCH(QString, message);
        Members m;
        m.window->selectMember(2);
        QPointer<QWidget> dialog = m.search(typed);
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{1});
        QCOMPARE(MessageBoxes::shown().front().title, title);
        QCOMPARE(MessageBoxes::shown().front().text, message);
        QVERIFY(MessageBoxes::shown().front().icon == MessageIcon::Information);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(text(dialog, "txtName")->text(), typed);
        QCOMPARE(m.selected(), 2);
        dialog->close();
    }

    void withTheMembersWindowGoneSearchOnlyCloses() {
        Members m;
        click(m.window, "cmdSearch");
        QPointer<QWidget> dialog = openWindowOf("SearchDialog");
        QCOMPARE(dialog->windowTitle(), QString("Updater - Search Members"));
        m.window->close();
        QTRY_VERIFY(m.window.isNull());
        text(dialog, "txtName")->setText("Bob");
        click(dialog, "cmdSearch");
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(MessageBoxes::shown().empty());
    }
};

QTEST_MAIN(SearchDialogTest)
#include "search_dialog_test.moc"
