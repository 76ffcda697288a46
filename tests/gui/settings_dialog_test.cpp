#include "gui/dialogs/settings_dialog.h"
#include "gui/message_box.h"
#include "platform/download_jobs_setting.h"
#include "tests/support/gui_support.h"
#include "tests/support/test_server.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QTest>

using namespace quenmark;

namespace {

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

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

    static QLineEdit* text(const QWidget* w, const char* name) {
        return control<QLineEdit>(w, name);
    }

    EmptyUserSettings m_userSettings;

private slots:
    void init() { answerMessagesInTest(); }

    // A position outside its list shows the entry the run uses for it.
    void listsShowTheEntriesAtTheirPositions() {
        const char* const cases[][2] = {{" 0 | 0 | 0 ", "200 | 5 minutes = 300s | Left"},
                                        {" 8 | 7 | 2 ", "15 | 1 hour = 3600s | Right"},
                                        {"10|-1| 3 ", "200 | 20 minutes = 1200s | Center"}};
        for (const auto& [positions, shown] : cases) {
            TempFolder folder;
            folder.write("settings.dat", withPositions(positions));
            SettingsDialog dialog(folder.path());
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
            TempFolder folder;
            folder.write("settings.dat", kDefaults);
            QStringList lines = QString::fromStdString(kDefaults).split("\r\n");
            for (const bool reopened : {false, true}) {
                SettingsDialog dialog(folder.path());
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
                QVERIFY2(folder.read("settings.dat") == lines.join("\r\n").toStdString(),
                         qPrintable(controls[line]));
            }
        }
    }

    // A flag of 2 is no tick, saved as 0; the directory line follows its box at
    // once; pages at once is the user's setting, not the site's.
    void savingKeepsWhatItShowsAndTheDirectoryFollowsItsBox() {
        TempFolder folder;
        folder.write("settings.dat",
                     crlf({" ftp.x.org ", "op", "s3cret", "#FF0000", " 8 ", " 7 ", " 2 ", " 1 ", "",
                           " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 2 "}));
        const std::string saved =
            crlf({" ftp.x.org ", "Zo\xEB?", "s3cret", "#FF0000", " 8 ", " 7 ", " 2 "});
        const std::string boxes = crlf({" 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 0 "});
        {
            SettingsDialog dialog(folder.path());
            QVERIFY(MessageBoxes::shown().empty());
            QVERIFY(!control<QCheckBox>(&dialog, "chkTARVO")->isChecked());
            QLineEdit* password = text(&dialog, "txtPassword");
            QCOMPARE(password->echoMode(), QLineEdit::Password);
            QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                  password),
                     int('*'));
            QCOMPARE(control<QSpinBox>(&dialog, "spnJobs")->value(), 8);
            control<QSpinBox>(&dialog, "spnJobs")->setValue(3);
            text(&dialog, "txtUsername")->setText(QString::fromUtf8("Zoë€"));
            QTest::keyClicks(text(&dialog, "txtDirectory"), "/www/q"); // ticked, though empty
            click(&dialog, "cmdOK");
        }
        QCOMPARE(folder.read("settings.dat"), saved + crlf({" 1 ", "/www/q"}) + boxes);
        QCOMPARE(downloadJobsSetting(), 3);
        SettingsDialog dialog(folder.path());
        QCOMPARE(control<QSpinBox>(&dialog, "spnJobs")->value(), 3);
        QLineEdit* directory = text(&dialog, "txtDirectory");
        QCOMPARE(directory->text(), QString("/www/q"));
        control<QCheckBox>(&dialog, "chkDirectory")->click();
        QVERIFY(directory->text().isEmpty() && !directory->isEnabled()); // at once, before OK
        click(&dialog, "cmdOK");
        QCOMPARE(folder.read("settings.dat"), saved + crlf({" 0 "}) + boxes);
    }

    // An unreadable settings.dat is neither shown nor replaced; a missing one
    // is written with the defaults at once. One window at a time, and only OK
    // writes.
    void mainWindowOpensOneWindowThatWritesTheDefaultsAndOnlyOkWrites() {
        TempFolder folder;
        folder.write("roster.txt", "");
        std::filesystem::create_directories(folder / "settings.dat" / "inside");
        MainWindowOnStandIns mainWindow(folder.path());
        QWidget* main = &mainWindow.window;
        click(main, "cmdSettings");
        QCOMPARE(shownMessages(), QStringList({"Error: \"settings.dat\" could not be read. (x)"}));
        QVERIFY(!openWindowOf("quenmark::SettingsDialog"));
        QVERIFY(std::filesystem::is_directory(folder / "settings.dat" / "inside"));

        std::filesystem::remove_all(folder / "settings.dat");
        MessageBoxes::clearShown();
        click(main, "cmdSettings");
        QCOMPARE(shownMessages(), QStringList({"Error: \"settings.dat\" could not be found. File "
                                               "created and defaults used. (!)"}));
        QCOMPARE(folder.read("settings.dat"), kDefaults); // at once
        QPointer<QWidget> first = openWindowOf("quenmark::SettingsDialog");
        QVERIFY(first && !static_cast<QDialog*>(first.data())->isModal());
        QCOMPARE(first->windowTitle(), QString("Updater - Settings"));
        text(first, "txtPtColor")->setText("typed, not saved");
        const int jobs = downloadJobsSetting();
        control<QSpinBox>(first, "spnJobs")->setValue(jobs % 64 + 1);
        click(main, "cmdSettings"); // only brings it to the front
        QCOMPARE(openWindowOf("quenmark::SettingsDialog"), first.data());
        QCOMPARE(text(first, "txtPtColor")->text(), QString("typed, not saved"));

        click(first, "cmdCancel");
        QTRY_VERIFY(first.isNull()); // closing unloads the window
        QCOMPARE(folder.read("settings.dat"), kDefaults);
        QCOMPARE(downloadJobsSetting(), jobs);
        std::string blue = kDefaults;
        folder.write("settings.dat", blue.replace(blue.find("yellow"), 6, "blue"));
        click(main, "cmdSettings");
        QPointer<QWidget> second = openWindowOf("quenmark::SettingsDialog");
        QVERIFY(second);
        QCOMPARE(text(second, "txtPtColor")->text(), QString("blue"));
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{1}); // no second message
        text(second, "txtPtColor")->setText("red");
        click(second, "cmdOK"); // saves and closes
        QTRY_VERIFY(second.isNull());
        QCOMPARE(folder.read("settings.dat"), blue.replace(blue.find("blue"), 4, "red"));
        click(main, "cmdSettings");
        QPointer<QWidget> third = openWindowOf("quenmark::SettingsDialog");
        QTest::keyClick(third, Qt::Key_Escape); // acts as Cancel
        QTRY_VERIFY(third.isNull());
    }

    void oneLineFieldsTurnLineBreaksIntoBlanksKeepTabsAndSaveLongTextsWhole() {
        TempFolder folder;
        const std::string longServer(40000, 's'); // beyond a text box's usual 32,767
        std::string file = kDefaults;
        file.replace(0, file.find('\r'), longServer);
        folder.write("settings.dat", file);
        SettingsDialog dialog(folder.path());
        QCOMPARE(text(&dialog, "txtServer")->text().size(), qsizetype{40000});
        click(&dialog, "cmdOK");
        QCOMPARE(folder.read("settings.dat"), file);

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
        TempFolder folder;
        folder.write("settings.dat", kDefaults);
        SettingsDialog dialog(folder.path());
        const auto* encryption = control<QLabel>(&dialog, "lblEncryption");
        const char* const cases[][2] = {{"ftp.example.org 21", "not encrypted"},
                                        {"ftpes://ftp.example.org", ""},
                                        {"sftp://ftp.example.org:2222", ""},
                                        {"gopher://ftp.example.org", "not an address"}};
        for (const auto& [server, shown] : cases) {
            text(&dialog, "txtServer")->setText(server);
            QCOMPARE(encryption->text(), QString(shown));
        }

        TestServer server("proftpd '" + (folder / "ftpd").string() + "' zebulons",
                          (folder / "server.log").string());
        QVERIFY(server.port() != 0);
        text(&dialog, "txtServer")->setText(QString("ftpes://127.0.0.1:%1").arg(server.port()));
        MessageBoxes::setNextAnswer(MessageBoxes::Answer::Yes);
        click(&dialog, "cmdTestConnection");
        QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shown().size(), std::size_t{2}, 30000);
        const QStringList shown = shownMessages();
        QVERIFY2(shown[0].contains("is not trusted") && shown[0].endsWith("[Yes/No, No default]"),
                 qPrintable(shown[0]));
        QVERIFY(folder.read("trusted.pem").find(folder.read("ftpd/cert.pem")) != std::string::npos);
        QCOMPARE(shown[1], QString("Test connection: Logged in to 127.0.0.1 port %1 as quenmark "
                                   "(encrypted by TLS); the login directory holds 0 names. (i)")
                               .arg(server.port()));
        QVERIFY(control<QPushButton>(&dialog, "cmdTestConnection")->isEnabled());
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
