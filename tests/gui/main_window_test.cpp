#include "gui/dialogs/enforced_times_dialog.h"
#include "gui/dialogs/log_dialog.h"
#include "gui/dialogs/new_member_dialog.h"
#include "gui/dialogs/search_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/last_run.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "platform/batch_runner.h"
#include "platform/upload_runner.h"
#include "tests/support/gui_support.h"
#include "tests/support/test_server.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <ranges>
#include <sys/stat.h>

using namespace quenmark;

namespace {

const QString kNoRoster = "\"roster.txt\" could not be found. Make sure it is named correctly "
                          "and in the main folder.";
const QString kDone = "Almost done!: Uploading now - Have a nice day! (i)";

// A page the parser reads 42 times from: a row of three per level.
const std::string kGoodPage = [] {
    std::string page = "<table>\n";
    for (int level = 0; level < 14; ++level)
        page += "<tr><td>Lamplight<td>1:00<td>2:00<td>3:00\n";
    return page;
}();

void prepareMainFolder(const TempFolder& folder, int port = 9) {
    folder.makeFolders({"lynx", "download", "templates", "upload"});
    for (const char* name : {"elite", "elite2", "stage", "diff", "leaders", "roster", "points"})
        folder.write(std::string("templates/") + name + ".html", "<p>***</p>\r\n");
    // Every file uploaded; by default to port 9, which refuses.
    folder.write("settings.dat",
                 crlf({"127.0.0.1 " + std::to_string(port), "ranker", "pw", "yellow", " 0 ", " 3 ",
                       " 1 ", " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
    folder.write("times.dat", "");
    folder.write("errors.txt", "Ann\r\n");
    // A stand-in browser: the interpreter finds it in the lynx folder first. It
    // takes its time, Ann's page less, so the window sees the count move; her
    // page is whole, the others end after a level.
    folder.write("lynx/lynx", "#!/bin/sh\ncase \"$2\" in *EndOfRoster*) exit 1;;\n"
                              "*Ann) sleep 0.2; rows=14;; *) sleep 1.5; rows=1;; esac\n"
                              "for i in $(seq $rows); do\n"
                              "  printf '<table><tr><td>Lamplight<td>1:23<td>N/A<td>10:05\\n'\n"
                              "done\n");
    ::chmod((folder / "lynx/lynx").c_str(), 0755);
}

std::string roster(const QStringList& names) {
    std::string text;
    for (const std::string name : names | std::views::transform(&QString::toStdString))
        text += crlf({name, "AN", "red", "http://127.0.0.1:9/" + name, "a@x", ""});
    return text;
}

// Stands in for the desktop's browser.
class Browser : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

// The tab stops in order, as "caption|...": a button's or check box's own
// text, else the text of the label whose buddy it is, else the control's name.
QString tabStops(QWidget* window) {
    QHash<const QWidget*, QString> captions;
    for (const QLabel* label : window->findChildren<QLabel*>())
        captions[label->buddy()] = label->text();
    QStringList stops;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->objectName().isEmpty())
            continue;
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        const QString caption = button ? button->text() : captions.value(w);
        stops << (caption.isEmpty() ? w->objectName() : caption);
    }
    return stops.join('|');
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    EmptyUserSettings m_userSettings;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<StandInPorts> m_ports;
    // Outlive the window whose run uses them, also when a check fails half way.
    std::unique_ptr<BatchRunner> m_batch;
    std::unique_ptr<UploadRunner> m_uploads;
    std::unique_ptr<MainWindow> m_window;
    MemberWindows m_memberWindows;

    void openWindow(BatchStarter& batch, UploadStarter& uploads) {
        m_window =
            std::make_unique<MainWindow>(m_folder->path(), batch, uploads, m_ports->lock, *m_ports);
        m_window->show();
        control<QPushButton>(m_window.get(), "cmdExit")->setFocus();
    }
    QString text(const char* label) { return control<QLabel>(m_window.get(), label)->text(); }
    bool downloadTimerOn() { return control<QTimer>(m_window.get(), "tmrDownload")->isActive(); }
    // Caption | the four buttons | the stage marked (marker and bold agreeing) |
    // timer | download count | summary.
    QString state() {
        QString buttons;
        for (const char* name : {"cmdUpdate", "cmdMembers", "cmdSettings", "cmdAbout", "cmdExit"})
            buttons += control<QPushButton>(m_window.get(), name)->isEnabled() ? "+" : "-";
        int stage = 0;
        const char* const lines[] = {"lblReadRoster", "lblDownload", "lblCalc", "lblUpload"};
        for (int i = 0; i < 4; ++i) {
            const bool marked = !text(qPrintable(QString("lbl%1").arg(i + 1))).isEmpty();
            if (marked != control<QLabel>(m_window.get(), lines[i])->font().bold())
                return "marker and bold disagree";
            if (marked)
                stage = stage ? -1 : i + 1;
        }
        return QString("%1 | %2 | stage %3 | timer %4 | %5 | %6")
            .arg(m_window->windowTitle().section(QString(" \u2014 "), 0, 0), buttons)
            .arg(stage)
            .arg(downloadTimerOn() ? "on" : "off", text("lblDownloadCount"), text("lblSummary"));
    }
    bool focusOnUpdate() {
        return m_window->focusWidget() == control<QPushButton>(m_window.get(), "cmdUpdate");
    }

private slots:
    void init() {
        answerMessagesInTest();
        m_folder = std::make_unique<TempFolder>();
        m_ports = std::make_unique<StandInPorts>();
    }
    void cleanup() {
        m_window.reset();
        m_batch.reset();
        m_uploads.reset();
        m_folder.reset();
    }

    void startsIdleWithItsControlsAndIcon() {
        openWindow(*m_ports, *m_ports);
        QCOMPARE(state(), QString("Updater - Quenmark | +++++ | stage 0 | timer off |  | "));
        QCOMPARE(m_window->windowTitle(),
                 QString::fromStdString("Updater - Quenmark \u2014 " + m_folder->path().string()));
        // The desktop entry's picture, not an empty icon.
        const QImage icon = m_window->windowIcon().pixmap(32).toImage();
        QVERIFY(qAlpha(icon.pixel(16, 16)) == 255 && qAlpha(icon.pixel(0, 0)) == 0);
        QVERIFY(m_folder->exists("invalidchrs.dat"));
        QCOMPARE(text("lblCalc"), QString("Doing Scary Calculations"));
        click(m_window.get(), "cmdExit"); // idle: no question
        QVERIFY(!m_window->isVisible() && shownMessages().isEmpty());
    }

    // A missing roster leaves only Exit; what would stop the run later (here a
    // template) stops it before the batch, back to idle.
    void stopsBeforeTheDownloads_data() {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("state");
        QTest::newRow("roster") << "roster.txt"
                                << "Updating... | ----+";
        QTest::newRow("template") << "templates/leaders.html"
                                  << "Updater - Quenmark | +++++";
    }
    void stopsBeforeTheDownloads() {
        QFETCH(QString, missing);
        QFETCH(QString, state);
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", roster({"Ann"}));
        std::filesystem::remove_all(*m_folder / missing.toStdString());
        openWindow(*m_ports, *m_ports);
        click(m_window.get(), "cmdUpdate");
        const QString message =
            missing == "roster.txt" ? kNoRoster : "\"templates/leaders.html\" could not be found.";
        QCOMPARE(shownMessages(), QStringList({"Error: " + message + " (x)"}));
        QCOMPARE(this->state(),
                 state + " | stage 0 | timer off |  | Last run 14:05: stopped: " + message);
        QCOMPARE(focusOnUpdate(), missing != "roster.txt"); // stuck: Update! is disabled
        QVERIFY(!m_folder->exists("download.bat"));
        QCOMPARE(m_folder->read("errors.txt"), std::string("Ann\r\n"));
    }

    // The real batch interpreter with a slow stand-in browser, and the real FTP
    // client against a server that takes its time over each file: the window
    // counts the pages and then the files as they arrive.
    void aWholeRunCountsThePagesAndTheFiles() {
        m_folder->makeFolders({"server"});
        TestServer server("ftp '" + (*m_folder / "server").string() + "' pw --slow 0.1",
                          (*m_folder / "server.log").string());
        QVERIFY(server.port() != 0);
        prepareMainFolder(*m_folder, server.port());
        m_folder->write("roster.txt", roster({"Ann", "Bob", "Cy"}));
        m_folder->write("download/EndOfRoster.html", "left from an interrupted run");
        m_folder->write("upload/tarvo.jpg", "picture");
        m_batch = std::make_unique<BatchRunner>(QUENMARK_EXE);
        m_uploads = std::make_unique<UploadRunner>(UploadRunner::Waiting::Detached, QUENMARK_EXE);
        // Two fetches at a time. A page counts once its fetch has ended: the
        // count shown while downloading never passes the pages written whole.
        m_batch->setDownloadJobs(2);
        openWindow(*m_batch, *m_uploads);
        QStringList pages, files;
        bool ahead = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            for (auto [counts, count] : {std::pair(&pages, text("lblDownloadCount")),
                                         std::pair(&files, text("lblUploadCount"))})
                if (!count.isEmpty() && (counts->isEmpty() || counts->back() != count))
                    *counts << count;
            int whole = 0;
            for (const auto& page : std::filesystem::directory_iterator(*m_folder / "download"))
                whole += page.path().filename() != "EndOfRoster.html" && page.file_size() > 0;
            ahead = ahead || (downloadTimerOn() && !pages.isEmpty() &&
                              pages.back().section(' ', 0, 0).toInt() > whole);
        });
        watch.start(20);
        click(m_window.get(), "cmdUpdate");
        QCOMPARE(state(), QString("Updating... | ----+ | stage 2 | timer on | 0 of 3 pages | "));
        // Exit asks while the run goes on, No the default; the upload is the
        // run's too, and the question goes by itself when the run ends.
        click(m_window.get(), "cmdExit");
        QPointer<QMessageBox> question = m_window->findChild<QMessageBox*>();
        QVERIFY(question && question->defaultButton() == question->button(QMessageBox::No));
        QTRY_VERIFY_WITH_TIMEOUT(!files.isEmpty(), 30000);
        QVERIFY(focusOnUpdate());
        QVERIFY(question); // the downloads have ended, the run has not
        click(m_window.get(), "cmdExit");
        QCOMPARE(m_window->findChildren<QMessageBox*>().size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(text("lblSummary").endsWith("upload finished"), 30000);
        QTRY_VERIFY(question.isNull() && m_window->isVisible());
        QStringList shown = shownMessages();
        shown.removeDuplicates();
        QCOMPARE(shown, QStringList({"Exit: An update is running. Exit anyway? (?) [Yes/No, No "
                                     "default]",
                                     kDone}));
        QCOMPARE(pages.front(), QString("0 of 3 pages"));
        QVERIFY2(pages.size() >= 3 && !ahead, qPrintable(pages.join(", "))); // moved, exact
        QCOMPARE(files.front(), QString("0 of 26 files"));
        QCOMPARE(text("lblUploadCount"), QString("26 of 26 files")); // the watch may lag
        QVERIFY2(files.size() > 3, qPrintable(files.join(", ")));
        QCOMPARE(state(), QString("Updater - Quenmark | +++++ | stage 0 | timer off | 3 of 3 pages "
                                  "| Last run 14:05: 3 members, 2 pages could not be read, upload "
                                  "finished"));
        QCOMPARE(m_folder->read("errors.txt"),
                 std::string("Bob - No backup!\r\nCy - No backup!\r\n"));
        QVERIFY(m_folder->exists("server/elite.htm") && !m_folder->exists("download.bat"));

        click(m_window.get(), "cmdLog");
        QWidget* log = openWindowOf("quenmark::LogDialog");
        QCOMPARE(control<QPlainTextEdit>(log, "txtErrors")->toPlainText(),
                 QString("Bob - No backup!\nCy - No backup!\n"));
        const auto* upload = control<QPlainTextEdit>(log, "txtUpload");
        QVERIFY(upload->isReadOnly() && upload->toPlainText().contains("ftp> put elite.htm"));
    }

    // The summary a run leaves, with the pages the batch brings and the client's end.
    void summary_data() {
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<int>("uploadStatus");
        QTest::addColumn<QString>("summary");
        QTest::newRow("clean") << QStringList({"Ann", "Bob"}) << 0
                               << "2 members, 0 pages could not be read, upload finished";
        QTest::newRow("unreadable pages")
            << QStringList({"Ann", "Bob", "Cy", "Dee"}) << 0
            << "4 members, 2 pages could not be read, upload finished";
        QTest::newRow("failed upload") << QStringList({"Ann"}) << 1
                                       << "1 member, 0 pages could not be read, upload failed: "
                                          "put elite.htm failed: 550 Denied";
    }
    void summary() {
        QFETCH(QStringList, members);
        QFETCH(int, uploadStatus);
        QFETCH(QString, summary);
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", roster(members));
        m_ports->pages = {{"Ann.html", kGoodPage}, {"Bob.html", kGoodPage}};
        m_ports->sentinel = true;
        openWindow(*m_ports, *m_ports);
        click(m_window.get(), "cmdUpdate");
        QTRY_COMPARE(shownMessages(), QStringList({kDone}));
        QVERIFY(m_ports->uploadEnded);
        m_ports->uploadEnded({uploadStatus, "ftp> put elite.htm\nput elite.htm failed: 550 Denied\n"
                                            "Upload failed: put elite.htm failed: 550 Denied\n"});
        QCOMPARE(this->text("lblSummary"), "Last run 14:05: " + summary);
        // The whole reason in a message of its own.
        const QString failure = summary.section("upload failed: ", 1);
        QCOMPARE(shownMessages().mid(1), failure.isEmpty()
                                             ? QStringList()
                                             : QStringList({"Upload failed: " + failure + " (x)"}));
        QVERIFY(focusOnUpdate());
        m_window.reset();
        openWindow(*m_ports, *m_ports); // kept for the next start, with its day if not today
        QCOMPARE(this->text("lblSummary"), "Last run 14:05: " + summary);
        keepLastRun(m_folder->path(), "Last run 14:05: x", QDate(2026, 5, 3));
        QCOMPARE(lastRunText(m_folder->path(), QDate(2026, 5, 4)), "Last run 2026-05-03 14:05: x");
    }

    // A place kept at another screen size or scale is fitted to this screen;
    // the stage lines keep their room in bold, whatever the count needs.
    void theWindowFitsTheScreenAndNoLineIsCut() {
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", roster({"Ann"}));
        openWindow(*m_ports, *m_ports);
        m_window->setGeometry(500, 600, 1500, 1200);
        m_window->hide();
        openWindow(*m_ports, *m_ports);
        QVERIFY(m_window->screen()->availableGeometry().contains(m_window->geometry()));
        click(m_window.get(), "cmdUpdate"); // the download line in bold
        control<QLabel>(m_window.get(), "lblDownloadCount")->setText("123456 of 123456 pages");
        m_window->resize(1, 1);
        for (const char* name :
             {"lblReadRoster", "lblDownload", "lblCalc", "lblUpload", "lblDownloadCount"}) {
            const QLabel* line = control<QLabel>(m_window.get(), name);
            QTRY_VERIFY2(line->width() >= line->sizeHint().width(), name);
        }
    }

    void openSiteHandsTheElitePageToTheBrowser() {
        openWindow(*m_ports, *m_ports);
        Browser browser;
        QDesktopServices::setUrlHandler("file", &browser, "open");
        click(m_window.get(), "cmdOpenSite");
        QCOMPARE(shownMessages(),
                 QStringList({"Open site: \"upload/elite.htm\" could not be found. Click Update! "
                              "to write the pages. (i)"}));
        m_folder->write("upload/elite.htm", "<html>");
        click(m_window.get(), "cmdOpenSite");
        QDesktopServices::unsetUrlHandler("file");
        const QString page = QString::fromStdString((*m_folder / "upload/elite.htm").string());
        QCOMPARE(browser.opened, QList<QUrl>({QUrl::fromLocalFile(page)}));
        MessageBoxes::clearShown();
        click(m_window.get(), "cmdOpenSite"); // no program opens web pages here
        QCOMPARE(shownMessages(),
                 QStringList({"Open site: No program could open \"upload/elite.htm\": the desktop "
                              "has no web browser set. Open " +
                              page + " in a browser. (!)"}));
    }

    void aboutOpensOnceWithTheVersionAndWindowsKeepTheirPlace() {
        openWindow(*m_ports, *m_ports);
        click(m_window.get(), "cmdAbout");
        click(m_window.get(), "cmdAbout");
        QWidget* about = openWindowOf("quenmark::AboutDialog");
        QCOMPARE(control<QLabel>(about, "lblVersion")->text(),
                 QString("Version " QUENMARK_VERSION));
        about->resize(300, 100); // as a size kept before would; the whole text still shows
        for (const QLabel* line : about->findChildren<QLabel*>())
            QTRY_VERIFY2(line->height() >= line->heightForWidth(line->width()),
                         qPrintable(line->text()));
        about->move(40, 50);
        const QRect placed = about->geometry();
        about->close();
        QTRY_VERIFY(!openWindowOf("quenmark::AboutDialog"));
        click(m_window.get(), "cmdAbout");
        about = openWindowOf("quenmark::AboutDialog");
        QVERIFY(about && about->geometry() == placed);
    }

    // Tab follows the controls as each window shows them, and each caption has
    // an Alt letter of its own that leads to its control (the changing count
    // over the enforced times has none).
    void tabOrderAndAltLetters() {
        writeMemberFiles(*m_folder, memberLines("Al"), "");
        const std::filesystem::path& folder = m_folder->path();
        const QString fields = "&Name:|&Initials:|Co&lor:|&Page:|E&mail:|";
        const struct {
            std::function<QWidget*()> make;
            QString stops;
        } windows[] = {
            {[&] { return new MainWindow(folder, *m_ports, *m_ports, m_ports->lock, *m_ports); },
             "&Update!|&Members|&Settings|&About...|E&xit|&Log|&Open site"},
            {[&] { return new SettingsDialog(folder); },
             "&FTP Server:|&Username:|P&assword:|&Test connection|&Point Color:|Point &Max:|"
             "&N/A Penalty:|Ta&ble Align:|D&irectory:|txtDirectory|Pa&ges at once:|&elite.htm|"
             "elite&2.htm|&stage files|&diff files|&leaders.htm|&roster.htm|points.&htm|"
             "tar&vo.jpg|&OK|&Cancel"},
            {[&] { return openMembersWindow(folder, m_memberWindows); },
             "Mem&bers:|" + fields +
                 "S&tatus:|&Save|In&valid Character|Sea&rch...|Ne&w Member|&Delete Member|"
                 "&Enforced Times|D&one"},
            {[&] { return new NewMemberDialog(folder, {}); },
             fields + "In&valid character|&Add|&Cancel"},
            {[&] { return new SearchDialog(folder, {}); }, "&Name:|&Search|&Cancel"},
            {[&] { return new EnforcedTimesDialog(folder, "Al"); },
             "&Level:|&Difficulty:|&Time:|&Save|D&one|0 enforced times in effect:"},
            {[&] { return new LogDialog(folder); },
             "&Pages that could not be read (errors.txt):|&Upload (ftp.log):|&Close"},
        };
        for (const auto& expected : windows) {
            const std::unique_ptr<QWidget> window(expected.make());
            QCOMPARE(tabStops(window.get()), expected.stops);
            QStringList letters; // every Alt letter of the window, each once
            for (const QObject* captioned : window->findChildren<QObject*>()) {
                const auto letter =
                    QRegularExpression("&(\\w)").match(captioned->property("text").toString());
                if (letter.hasMatch())
                    letters << letter.captured(1).toLower();
            }
            QVERIFY2(QSet<QString>(letters.begin(), letters.end()).size() == letters.size(),
                     qPrintable(expected.stops));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
