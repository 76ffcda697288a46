#include "gui/dialogs/enforced_times_dialog.h"
#include "gui/dialogs/log_dialog.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/dialogs/new_member_dialog.h"
#include "gui/dialogs/search_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/last_run.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "platform/batch_runner.h"
#include "platform/download_jobs_setting.h"
#include "platform/upload_runner.h"
#include "tests/support/gui_support.h"
#include "tests/support/member_times_fixture.h"
#include "tests/support/test_server.h"

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <sys/stat.h>

using namespace quenmark;

namespace {

const QString kNoRoster = "\"roster.txt\" could not be found. Make sure it is named correctly "
                          "and in the main folder.";
const QString kDone = "Almost done!: Uploading now - Have a nice day! (i)";

void prepareMainFolder(const TempFolder& folder, int port = 9) {
    folder.makeFolders({"lynx", "download", "templates", "upload"});
    for (const char* name : {"elite", "elite2", "stage", "diff", "leaders", "roster", "points"})
        folder.write(std::string("templates/") + name + ".html", "<p>***</p>\r\n");
    // Every file uploaded; by default to port 9, which refuses.
    folder.write("settings.dat",
                 crlf({"127.0.0.1 " + std::to_string(port), "ranker", "pw", "yellow", " 0 ", " 3 ",
                       " 1 ", " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
    folder.write("times.dat", "");
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

// Stands in for the desktop's browser.
struct Browser : QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }
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

// settings.dat with the three list positions given ("|" between them) and the rest as a fresh
// installation has it.
std::string withPositions(const QString& positions) {
    const QStringList p = positions.split('|');
    const auto line = [&](int i) { return p[i].toStdString(); };
    return crlf({"ftp.quenmark.example", "quenmark", "zebulons", "yellow", line(0), line(1),
                 line(2), " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "});
}
const std::string kDefaults = withPositions(" 0 | 3 | 1 ");

QString shownLists(const QWidget* w) {
    const auto* penalty = control<QComboBox>(w, "cboPenalty");
    return control<QComboBox>(w, "cboPtMax")->currentText() + " | " + penalty->currentText() +
           " = " + penalty->currentData().toString() + "s | " +
           control<QComboBox>(w, "cboAlign")->currentText();
}

QLineEdit* field(const QWidget* w, const char* name) {
    return control<QLineEdit>(w, name);
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

    void startsIdleWithItsControlsIconAndAbout() {
        openWindow(*m_ports, *m_ports);
        QCOMPARE(state(), QString("Updater - Quenmark | +++++ | stage 0 | timer off |  | "));
        QCOMPARE(m_window->windowTitle(),
                 QString::fromStdString("Updater - Quenmark \u2014 " + m_folder->path().string()));
        // The desktop entry's picture, not an empty icon.
        const QImage icon = m_window->windowIcon().pixmap(32).toImage();
        QVERIFY(qAlpha(icon.pixel(16, 16)) == 255 && qAlpha(icon.pixel(0, 0)) == 0);
        QVERIFY(m_folder->exists("invalidchrs.dat"));
        QCOMPARE(text("lblCalc"), QString("Doing Scary Calculations"));
        // About opens once, shows the version whole and keeps its place.
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
        click(m_window.get(), "cmdExit"); // idle: no question
        QVERIFY(!m_window->isVisible() && shownMessages().isEmpty());
    }

    // A missing roster stops the run before the batch and leaves only Exit.
    void aMissingRosterStopsTheRunWithOnlyExitLeft() {
        prepareMainFolder(*m_folder);
        openWindow(*m_ports, *m_ports);
        click(m_window.get(), "cmdUpdate");
        QCOMPARE(shownMessages(), QStringList({"Error: " + kNoRoster + " (x)"}));
        QCOMPARE(state(),
                 "Updating... | ----+ | stage 0 | timer off |  | Last run 14:05: stopped: " +
                     kNoRoster);
        QVERIFY(!focusOnUpdate() && !m_folder->exists("download.bat"));
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
        m_folder->write("roster.txt", memberLines("Ann") + memberLines("Bob") + memberLines("Cy"));
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
        QVERIFY(m_folder->exists("server/elite.htm") && !m_folder->exists("download.bat"));

        click(m_window.get(), "cmdLog");
        QWidget* log = openWindowOf("quenmark::LogDialog");
        QCOMPARE(control<QPlainTextEdit>(log, "txtErrors")->toPlainText(),
                 QString("Bob - No backup!\nCy - No backup!\n"));
        const auto* upload = control<QPlainTextEdit>(log, "txtUpload");
        QVERIFY(upload->isReadOnly() && upload->toPlainText().contains("ftp> put elite.htm"));
    }

    // A failed upload ends the summary with its reason and is a message of its
    // own; the summary is kept for the next start, with its day if not today.
    void aFailedUploadIsSummarisedToldAndKept() {
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", memberLines("Ann"));
        m_ports->pages = {{"Ann.html", pageOf([](int) { return std::string("1:00"); })}};
        openWindow(*m_ports, *m_ports);
        click(m_window.get(), "cmdUpdate");
        QTRY_COMPARE(shownMessages(), QStringList({kDone}));
        QVERIFY(m_ports->uploadEnded);
        m_ports->uploadEnded({1, "ftp> put elite.htm\nUpload failed: put elite.htm failed: 550\n"});
        const QString summary =
            "Last run 14:05: 1 member, 0 pages could not be read, upload failed: put elite.htm "
            "failed: 550";
        QCOMPARE(text("lblSummary"), summary);
        QCOMPARE(shownMessages().mid(1),
                 QStringList({"Upload failed: put elite.htm failed: 550 (x)"}));
        QVERIFY(focusOnUpdate());
        m_window.reset();
        openWindow(*m_ports, *m_ports);
        QCOMPARE(text("lblSummary"), summary);
        keepLastRun(m_folder->path(), "Last run 14:05: x", QDate(2026, 5, 3));
        QCOMPARE(lastRunText(m_folder->path(), QDate(2026, 5, 4)), "Last run 2026-05-03 14:05: x");
    }

    // A place kept at another screen size or scale is fitted to this screen;
    // the stage lines keep their room in bold, whatever the count needs.
    void theWindowFitsTheScreenAndNoLineIsCut() {
        prepareMainFolder(*m_folder);
        m_folder->write("roster.txt", memberLines("Ann"));
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

    // A position outside its list shows the entry the run uses for it.
    void listsShowTheEntriesAtTheirPositions() {
        const char* const cases[][2] = {{" 8 | 7 | 2 ", "15 | 1 hour = 3600s | Right"},
                                        {"10|-1| 3 ", "200 | 20 minutes = 1200s | Center"}};
        for (const auto& [positions, shown] : cases) {
            m_folder->write("settings.dat", withPositions(positions));
            SettingsDialog dialog(m_folder->path());
            QCOMPARE(shownLists(&dialog), QString(shown));
        }
    }

    // Each field and box is shown from its own line and saved into it: changing
    // one control changes its line only, and reopening shows the change there.
    void eachControlIsShownFromAndSavedIntoItsOwnLine() {
        const QStringList controls =
            QString("txtServer txtUsername txtPassword txtPtColor cboPtMax cboPenalty cboAlign - "
                    "chkElite chkElite2 chkStage chkDiff chkLeaders chkRoster chkPoints chkTARVO")
                .split(' ');
        for (int line = 0; line < controls.size(); ++line) {
            m_folder->write("settings.dat", kDefaults);
            QStringList lines = QString::fromStdString(kDefaults).split("\r\n");
            for (const bool reopened : {false, true}) {
                SettingsDialog dialog(m_folder->path());
                QObject* changed = dialog.findChild<QObject*>(controls[line]); // none for "-"
                auto* field = qobject_cast<QLineEdit*>(changed);
                auto* list = qobject_cast<QComboBox*>(changed);
                auto* box = qobject_cast<QCheckBox*>(changed);
                if (reopened)
                    QVERIFY2(field  ? field->text() == "changed"
                             : list ? list->currentIndex() == 2
                                    : !box || !box->isChecked(),
                             qPrintable(controls[line]));
                else if (field)
                    field->setText(lines[line] = "changed");
                else if (list)
                    list->setCurrentIndex((lines[line] = " 2 ").trimmed().toInt());
                else if (box)
                    box->setChecked((lines[line] = " 0 ") == " 1 ");
                click(&dialog, "cmdOK");
                QVERIFY2(m_folder->read("settings.dat") == lines.join("\r\n").toStdString(),
                         qPrintable(controls[line]));
            }
        }
    }

    // A flag of 2 is no tick, saved as 0; the directory line follows its box at
    // once; pages at once is the user's setting, not the site's.
    void savingKeepsWhatItShowsAndTheDirectoryFollowsItsBox() {
        m_folder->write("settings.dat",
                        crlf({" ftp.x.org ", "op", "s3cret", "#FF0000", " 8 ", " 7 ", " 2 ", " 1 ",
                              "", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 2 "}));
        const std::string saved =
            crlf({" ftp.x.org ", "Zo\xEB?", "s3cret", "#FF0000", " 8 ", " 7 ", " 2 "});
        const std::string boxes = crlf({" 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 0 "});
        {
            SettingsDialog dialog(m_folder->path());
            QVERIFY(MessageBoxes::shown().empty());
            QVERIFY(!control<QCheckBox>(&dialog, "chkTARVO")->isChecked());
            QLineEdit* password = field(&dialog, "txtPassword");
            QCOMPARE(password->echoMode(), QLineEdit::Password);
            QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                  password),
                     int('*'));
            QCOMPARE(control<QSpinBox>(&dialog, "spnJobs")->value(), 8);
            control<QSpinBox>(&dialog, "spnJobs")->setValue(3);
            field(&dialog, "txtUsername")->setText(QString::fromUtf8("Zoë€"));
            QTest::keyClicks(field(&dialog, "txtDirectory"), "/www/q"); // ticked, though empty
            click(&dialog, "cmdOK");
        }
        QCOMPARE(m_folder->read("settings.dat"), saved + crlf({" 1 ", "/www/q"}) + boxes);
        QCOMPARE(downloadJobsSetting(), 3);
        SettingsDialog dialog(m_folder->path());
        QCOMPARE(control<QSpinBox>(&dialog, "spnJobs")->value(), 3);
        QLineEdit* directory = field(&dialog, "txtDirectory");
        QCOMPARE(directory->text(), QString("/www/q"));
        control<QCheckBox>(&dialog, "chkDirectory")->click();
        QVERIFY(directory->text().isEmpty() && !directory->isEnabled()); // at once, before OK
        click(&dialog, "cmdOK");
        QCOMPARE(m_folder->read("settings.dat"), saved + crlf({" 0 "}) + boxes);
    }

    // An unreadable settings.dat is neither shown nor replaced; a missing one
    // is written with the defaults at once. One window at a time; only OK writes.
    void mainWindowOpensOneWindowThatWritesTheDefaultsAndOnlyOkWrites() {
        std::filesystem::create_directories(*m_folder / "settings.dat" / "inside");
        openWindow(*m_ports, *m_ports);
        QWidget* main = m_window.get();
        click(main, "cmdSettings");
        QCOMPARE(shownMessages(), QStringList({"Error: \"settings.dat\" could not be read. (x)"}));
        QVERIFY(!openWindowOf("quenmark::SettingsDialog"));
        QVERIFY(std::filesystem::is_directory(*m_folder / "settings.dat" / "inside"));

        std::filesystem::remove_all(*m_folder / "settings.dat");
        MessageBoxes::clearShown();
        click(main, "cmdSettings");
        QCOMPARE(shownMessages(), QStringList({"Error: \"settings.dat\" could not be found. File "
                                               "created and defaults used. (!)"}));
        QCOMPARE(m_folder->read("settings.dat"), kDefaults); // at once
        QPointer<QWidget> first = openWindowOf("quenmark::SettingsDialog");
        QVERIFY(first && !qobject_cast<QDialog*>(first)->isModal());
        QCOMPARE(first->windowTitle(), QString("Updater - Settings"));
        field(first, "txtPtColor")->setText("typed, not saved");
        const int jobs = downloadJobsSetting();
        control<QSpinBox>(first, "spnJobs")->setValue(jobs % 64 + 1);
        click(main, "cmdSettings"); // only brings it to the front
        QCOMPARE(openWindowOf("quenmark::SettingsDialog"), first.data());
        QCOMPARE(field(first, "txtPtColor")->text(), QString("typed, not saved"));

        click(first, "cmdCancel");
        QTRY_VERIFY(first.isNull()); // closing unloads the window
        QCOMPARE(m_folder->read("settings.dat"), kDefaults);
        QCOMPARE(downloadJobsSetting(), jobs);
        std::string blue = kDefaults;
        m_folder->write("settings.dat", blue.replace(blue.find("yellow"), 6, "blue"));
        click(main, "cmdSettings");
        QPointer<QWidget> second = openWindowOf("quenmark::SettingsDialog");
        QVERIFY(second);
        QCOMPARE(field(second, "txtPtColor")->text(), QString("blue"));
        field(second, "txtPtColor")->setText("red");
        click(second, "cmdOK"); // saves and closes
        QTRY_VERIFY(second.isNull());
        QCOMPARE(m_folder->read("settings.dat"), blue.replace(blue.find("blue"), 4, "red"));
    }

    void oneLineFieldsTurnLineBreaksIntoBlanksKeepTabsAndSaveLongTextsWhole() {
        const std::string longServer(40000, 's'); // beyond a text box's usual 32,767
        std::string file = kDefaults;
        file.replace(0, file.find('\r'), longServer);
        m_folder->write("settings.dat", file);
        SettingsDialog dialog(m_folder->path());
        QCOMPARE(field(&dialog, "txtServer")->text().size(), qsizetype{40000});
        click(&dialog, "cmdOK");
        QCOMPARE(m_folder->read("settings.dat"), file);

        control<QCheckBox>(&dialog, "chkDirectory")->setChecked(true);
        // The text boxes; the spin box's own editor holds only digits.
        const QList<QLineEdit*> fields =
            dialog.findChildren<QLineEdit*>(QRegularExpression("^txt"));
        QCOMPARE(fields.size(), 5);
        // A run of breaks is one blank between words and nothing at either end.
        for (QLineEdit* field : fields) {
            field->setText("XY");
            field->setCursorPosition(1);
            QGuiApplication::clipboard()->setText("a@b.c\r\n\r\nsecond\tx\n");
            field->paste();
            QCOMPARE(field->text(), QString("Xa@b.c second\tx Y"));
            QCOMPARE(field->cursorPosition(), 16);
            field->setText("\na\rb\r");
            QCOMPARE(field->text(), QString("a b"));
        }
    }

    // Beside the server: whether the address is encrypted. Test connection
    // tries the account as typed; an unknown certificate is shown with its
    // fingerprint and, once trusted, recorded and the test made again.
    void saysWhatIsNotEncryptedAndTestsTheConnectionTrustingTheServer() {
        m_folder->write("settings.dat", kDefaults);
        SettingsDialog dialog(m_folder->path());
        const auto* encryption = control<QLabel>(&dialog, "lblEncryption");
        const char* const cases[][2] = {{"ftp.example.org 21", "not encrypted"},
                                        {"ftpes://ftp.example.org", ""},
                                        {"gopher://ftp.example.org", "not an address"}};
        for (const auto& [server, shown] : cases) {
            field(&dialog, "txtServer")->setText(server);
            QCOMPARE(encryption->text(), QString(shown));
        }

        TestServer server("proftpd '" + (*m_folder / "ftpd").string() + "' zebulons",
                          (*m_folder / "server.log").string());
        QVERIFY(server.port() != 0);
        field(&dialog, "txtServer")->setText(QString("ftpes://127.0.0.1:%1").arg(server.port()));
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::Yes);
        click(&dialog, "cmdTestConnection");
        QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shown().size(), std::size_t{2}, 30000);
        const QStringList shown = shownMessages();
        QVERIFY2(shown[0].contains("is not trusted") && shown[0].endsWith("[Yes/No, No default]"),
                 qPrintable(shown[0]));
        QVERIFY(m_folder->read("trusted.pem").find(m_folder->read("ftpd/cert.pem")) !=
                std::string::npos);
        QCOMPARE(shown[1], QString("Test connection: Logged in to 127.0.0.1 port %1 as quenmark "
                                   "(encrypted by TLS); the login directory holds 0 names. (i)")
                               .arg(server.port()));
        QVERIFY(control<QPushButton>(&dialog, "cmdTestConnection")->isEnabled());
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
            {[&] {
                 auto* members = new MembersDialog(folder, m_memberWindows);
                 return members->openFiles() ? members : nullptr;
             },
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
            QString letters; // every Alt letter of the window, each once
            for (const QObject* captioned : window->findChildren<QObject*>())
                letters += captioned->property("text").toString().section('&', 1).left(1).toLower();
            QVERIFY2(QSet<QChar>(letters.begin(), letters.end()).size() == letters.size(),
                     qPrintable(expected.stops));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
