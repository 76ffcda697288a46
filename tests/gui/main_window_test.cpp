#include "gui/main_window.h"
#include "gui/message_box.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <sys/stat.h>

using namespace quenmark;

namespace {

const QString kNoRoster = "\"roster.txt\" could not be found. Make sure it is named correctly "
                          "and in the main folder.";

void prepareMainFolder(const TempFolder& folder) {
    folder.makeFolders({"lynx", "download", "templates", "upload"});
    for (const char* name : {"elite", "elite2", "stage", "diff", "leaders", "roster", "points"})
        folder.write(std::string("templates/") + name + ".html", "<p>***</p>\r\n");
    folder.write("settings.dat",
                 crlf({"127.0.0.1", "user", "pw", "yellow", " 0 ", " 3 ", " 1 ", " 0 ", " 0 ",
                       " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "}));
    folder.write("times.dat", "");
    // A stand-in browser: the interpreter finds it in the lynx folder first.
    folder.write("lynx/lynx", "#!/bin/sh\ncase \"$2\" in *EndOfRoster*) exit 1;; esac\n"
                              "printf '<table><tr><td>Lamplight<td>1:23<td>N/A<td>10:05\\n'\n");
    ::chmod((folder / "lynx/lynx").c_str(), 0755);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<SystemProcessStarter> m_processes;
    std::unique_ptr<MainWindow> m_window;

    void openWindow() {
        m_window = std::make_unique<MainWindow>(m_folder->path());
        m_window->setProcessStarter(*m_processes);
        m_window->show();
    }
    QPushButton* button(const char* name) { return m_window->findChild<QPushButton*>(name); }
    QLabel* label(const char* name) { return m_window->findChild<QLabel*>(name); }
    bool fourButtonsEnabled() {
        return button("cmdUpdate")->isEnabled() && button("cmdMembers")->isEnabled() &&
               button("cmdSettings")->isEnabled() && button("cmdAbout")->isEnabled();
    }
    bool anyMarker() {
        for (const char* name : {"lbl1", "lbl2", "lbl3", "lbl4"})
            if (!label(name)->text().isEmpty())
                return true;
        return false;
    }
    bool anyBold() {
        for (const char* name : {"lblReadRoster", "lblDownload", "lblCalc", "lblUpload"})
            if (label(name)->font().bold())
                return true;
        return false;
    }

private slots:
    void init() {
        MessageBoxes::setTestMode(true);
        MessageBoxes::clearShown();
        m_folder = std::make_unique<TempFolder>();
        m_processes = std::make_unique<SystemProcessStarter>(
            SystemProcessStarter::UploadMode::ScriptOnly, QUENMARK_EXE);
    }
    void cleanup() {
        m_window.reset();
        m_folder.reset();
    }

    void startsIdleAndCreatesTheInvalidNamesFile() {
        openWindow();
        QCOMPARE(m_window->windowTitle(), QString("Updater - Quenmark"));
        QVERIFY(m_folder->exists("invalidchrs.dat"));
        QVERIFY(fourButtonsEnabled());
        QVERIFY(button("cmdExit")->isEnabled());
        QVERIFY(!anyMarker());
        QCOMPARE(button("cmdUpdate")->text(), QString("Update!"));
        QCOMPARE(label("lblCalc")->text(), QString("Doing Scary Calculations"));
        auto* timer = m_window->findChild<QTimer*>("tmrDownload");
        QVERIFY(timer && !timer->isActive());
        QCOMPARE(timer->interval(), 1000);
    }

    void updateWithoutRosterLeavesOnlyExit() {
        prepareMainFolder(*m_folder);
        m_folder->write("errors.txt", "Ann\r\n");
        openWindow();
        QTest::mouseClick(button("cmdUpdate"), Qt::LeftButton);
        QCOMPARE(MessageBoxes::shown().size(), std::size_t(1));
        QCOMPARE(MessageBoxes::shown()[0].title, QString("Error"));
        QCOMPARE(MessageBoxes::shown()[0].text, kNoRoster);
        QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(m_window->windowTitle(), QString("Updating..."));
        QVERIFY(!button("cmdUpdate")->isEnabled());
        QVERIFY(!button("cmdMembers")->isEnabled());
        QVERIFY(!button("cmdSettings")->isEnabled());
        QVERIFY(!button("cmdAbout")->isEnabled());
        QVERIFY(button("cmdExit")->isEnabled());
        QVERIFY(!anyMarker());
        QVERIFY(!anyBold());
        QVERIFY(!m_window->findChild<QTimer*>("tmrDownload")->isActive());
        QVERIFY(!m_folder->exists("download.bat"));
        QCOMPARE(QString::fromStdString(m_folder->read("errors.txt")), QString("Ann\r\n"));
    }

    void aMissingFolderReturnsToIdle() {
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", "");
        std::filesystem::remove_all(*m_folder / "upload");
        openWindow();
        QTest::mouseClick(button("cmdUpdate"), Qt::LeftButton);
        QCOMPARE(MessageBoxes::shown().size(), std::size_t(1));
        QCOMPARE(MessageBoxes::shown()[0].text,
                 QString("The folder \"upload\" could not be found. Make sure it exists in the "
                         "main folder."));
        QCOMPARE(m_window->windowTitle(), QString("Updater - Quenmark"));
        QVERIFY(fourButtonsEnabled());
        QVERIFY(!anyMarker());
    }

    void aWholeRunWithAStandInBrowser() {
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt",
                        crlf({"Ann", "AN", "red", "http://127.0.0.1:9/ann.html", "a@x", ""}));
        m_folder->write("download/EndOfRoster.html", "left from an interrupted run");
        openWindow();
        QTest::mouseClick(button("cmdUpdate"), Qt::LeftButton);
        QVERIFY(MessageBoxes::shown().empty());
        QCOMPARE(m_window->windowTitle(), QString("Updating..."));
        QCOMPARE(label("lbl2")->text(), QString::fromUtf8("\u00bb"));
        QVERIFY(label("lblDownload")->font().bold());
        QVERIFY(!label("lblReadRoster")->font().bold());
        QVERIFY(!button("cmdUpdate")->isEnabled());
        QVERIFY(m_window->findChild<QTimer*>("tmrDownload")->isActive());

        QTRY_VERIFY_WITH_TIMEOUT(!MessageBoxes::shown().empty(), 30000);
        QCOMPARE(MessageBoxes::shown().back().title, QString("Almost done!"));
        QCOMPARE(MessageBoxes::shown().back().text, QString("Uploading now - Have a nice day!"));
        QCOMPARE(MessageBoxes::shown().back().icon, MessageIcon::Information);
        QCOMPARE(m_window->windowTitle(), QString("Updater - Quenmark"));
        QVERIFY(fourButtonsEnabled());
        QVERIFY(!anyMarker());
        QVERIFY(!anyBold());
        QVERIFY(!m_window->findChild<QTimer*>("tmrDownload")->isActive());
        QCOMPARE(QString::fromStdString(m_folder->read("download/Ann.html")),
                 QString("<table><tr><td>Lamplight<td>1:23<td>N/A<td>10:05\n"));
        // The page gave three times of 42: logged, no time file to fall back on.
        QCOMPARE(QString::fromStdString(m_folder->read("errors.txt")),
                 QString("Ann - No backup!\r\n"));
        QVERIFY(!m_folder->exists("download/Ann.txt"));
        QVERIFY(m_folder->exists("upload/elite.htm"));
        QVERIFY(!m_folder->exists("download.bat"));
        QVERIFY(m_folder->exists("download/EndOfRoster.html"));
        QVERIFY(m_folder->exists("ftp.dat"));
    }

    void ticksBeforeTheSentinelChangeNothing() {
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", "");
        m_folder->write("download/EndOfRoster.html", "stale");
        m_folder->write("errors.txt", "Ann\r\n");
        // A batch that never gets anywhere: the sentinel does not come.
        StandInProcesses silent;
        silent.running = true;
        m_window = std::make_unique<MainWindow>(m_folder->path());
        m_window->setProcessStarter(silent);
        m_window->show();
        QTest::mouseClick(button("cmdUpdate"), Qt::LeftButton);
        QVERIFY(!m_folder->exists("download/EndOfRoster.html"));
        QTest::qWait(2500); // two ticks
        QVERIFY(MessageBoxes::shown().empty());
        QCOMPARE(m_window->windowTitle(), QString("Updating..."));
        QCOMPARE(label("lbl2")->text(), QString::fromUtf8("\u00bb"));
        QVERIFY(m_window->findChild<QTimer*>("tmrDownload")->isActive());
        QVERIFY(m_folder->exists("download.bat"));
        QVERIFY(m_folder->exists("errors.txt"));
        QVERIFY(m_folder->read("errors.txt").empty());
        QVERIFY(!m_folder->exists("upload/elite.htm"));
        m_window.reset();
    }

    void theAboutWindowOpensOnce() {
        openWindow();
        QTest::mouseClick(button("cmdAbout"), Qt::LeftButton);
        QTest::mouseClick(button("cmdAbout"), Qt::LeftButton);
        int abouts = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == "Updater - About")
                ++abouts;
        QCOMPARE(abouts, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
