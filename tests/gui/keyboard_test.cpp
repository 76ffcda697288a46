#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/enforced_times_dialog.h"
#include "gui/dialogs/log_dialog.h"
#include "gui/dialogs/new_member_dialog.h"
#include "gui/dialogs/search_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/main_window.h"
#include "tests/support/gui_support.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using namespace quenmark;

namespace {

// The window's tab stops in order, each as "control=caption": a button's or
// check box's own text, or the text of the label whose buddy it is.
QStringList tabStops(QWidget* window) {
    QHash<const QWidget*, QString> captions;
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy())
            captions[label->buddy()] = label->text();
    QStringList stops;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->objectName().isEmpty())
            continue;
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        stops << w->objectName() + "=" + (button ? button->text() : captions.value(w));
    }
    return stops;
}

} // namespace

using WindowMaker = std::function<QWidget*(const TempFolder&)>;
Q_DECLARE_METATYPE(WindowMaker)

class KeyboardTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_userSettings;
    StandInPorts m_ports;
    MemberWindows m_memberWindows;

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userSettings.path());
        answerMessagesInTest();
    }

    // Tab follows the controls as the window shows them, and every caption has
    // an Alt letter of its own that leads to its control.
    void tabOrderAndAltLetters_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<QStringList>("stops");
        QTest::newRow("main") << WindowMaker([this](const TempFolder& f) {
            return new MainWindow(f.path(), m_ports, m_ports, m_ports.lock, m_ports);
        })
                              << QStringList({"cmdUpdate=&Update!", "cmdMembers=&Members",
                                              "cmdSettings=&Settings", "cmdAbout=&About...",
                                              "cmdExit=E&xit", "cmdLog=&Log",
                                              "cmdOpenSite=&Open site"});
        QTest::newRow("settings") << WindowMaker([](const TempFolder& f) {
            return new SettingsDialog(f.path());
        })
                                  << QStringList({"txtServer=&FTP Server:",
                                                  "txtUsername=&Username:",
                                                  "txtPassword=P&assword:",
                                                  "txtPtColor=&Point Color:",
                                                  "cboPtMax=Point &Max:",
                                                  "cboPenalty=&N/A Penalty:",
                                                  "cboAlign=Ta&ble Align:",
                                                  "chkDirectory=D&irectory:",
                                                  "txtDirectory=",
                                                  "spnJobs=Pa&ges at once:",
                                                  "chkElite=&elite.htm",
                                                  "chkElite2=elite&2.htm",
                                                  "chkStage=&stage files",
                                                  "chkDiff=&diff files",
                                                  "chkLeaders=&leaders.htm",
                                                  "chkRoster=&roster.htm",
                                                  "chkPoints=points.&htm",
                                                  "chkTARVO=tar&vo.jpg",
                                                  "cmdOK=&OK",
                                                  "cmdCancel=&Cancel"});
        QTest::newRow("members")
            << WindowMaker([this](const TempFolder& f) {
                   return openMembersWindow(f.path(), m_memberWindows);
               })
            << QStringList({"lstMembers=Mem&bers:", "txtName=&Name:", "txtInitials=&Initials:",
                            "txtColor=Co&lor:", "txtPage=&Page:", "txtEmail=E&mail:",
                            "cboStatus=S&tatus:", "cmdSave=&Save", "chkInvalid=In&valid Character",
                            "cmdSearch=Sea&rch...", "cmdNew=Ne&w Member",
                            "cmdDelete=&Delete Member", "cmdCustomTimes=&Enforced Times",
                            "cmdDone=D&one"});
        QTest::newRow("new member")
            << WindowMaker([](const TempFolder& f) { return new NewMemberDialog(f.path(), {}); })
            << QStringList({"txtName=&Name:", "txtInitials=&Initials:", "txtColor=Co&lor:",
                            "txtPage=&Page:", "txtEmail=E&mail:", "chkInvalid=In&valid character",
                            "cmdAdd=&Add", "cmdCancel=&Cancel"});
        QTest::newRow("search") << WindowMaker([](const TempFolder& f) {
            return new SearchDialog(f.path(), {});
        }) << QStringList({"txtName=&Name:", "cmdSearch=&Search", "cmdCancel=&Cancel"});
        // The count above the list changes, so it carries no Alt letter.
        QTest::newRow("enforced times")
            << WindowMaker(
                   [](const TempFolder& f) { return new EnforcedTimesDialog(f.path(), "Al"); })
            << QStringList({"cboLevel=&Level:", "cboDifficulty=&Difficulty:", "txtTime=&Time:",
                            "cmdSave=&Save", "cmdDone=D&one",
                            "lstCustomTimes=0 enforced times in effect:"});
        QTest::newRow("log")
            << WindowMaker([](const TempFolder& f) { return new LogDialog(f.path()); })
            << QStringList({"txtErrors=&Pages that could not be read (errors.txt):",
                            "txtUpload=&Upload (ftp.log):", "cmdClose=&Close"});
        QTest::newRow("about") << WindowMaker([](const TempFolder&) { return new AboutDialog; })
                               << QStringList({"cmdOK=&OK"});
    }
    void tabOrderAndAltLetters() {
        QFETCH(WindowMaker, make);
        QFETCH(QStringList, stops);
        TempFolder folder;
        writeMemberFiles(folder, memberLines("Al"), "");
        const std::unique_ptr<QWidget> window(make(folder));
        QCOMPARE(tabStops(window.get()), stops);
        QStringList letters; // every Alt letter of the window, each once
        for (const QObject* captioned : window->findChildren<QObject*>()) {
            const QString text = captioned->property("text").toString();
            const QRegularExpressionMatch letter = QRegularExpression("&(\\w)").match(text);
            if (letter.hasMatch())
                letters << letter.captured(1).toLower();
        }
        QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
