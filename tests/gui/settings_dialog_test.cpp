#include "app/main_window.h"
#include "app/qt_message_box.h"
#include "app/qt_window_keeper.h"
#include "dialogs/settings_dialog.h"
#include "tests/support/gui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <memory>

namespace {

// The 16 lines of a fresh installation, written out from the rules.
const std::string kDefaults =
    crlf({"ftp.quenmark.example", "quenmark", "zebulons", "yellow", " 0 ", " 3 ", " 1 ", " 0 ",
          " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "});

const char* const kUploadBoxes[] = {"chkElite",   "chkElite2", "chkStage",  "chkDiff",
                                    "chkLeaders", "chkRoster", "chkPoints", "chkTARVO"};

QLineEdit* text(const QWidget* w, const char* name) {
    return control<QLineEdit>(w, name);
}
QComboBox* list(const QWidget* w, const char* name) {
    return control<QComboBox>(w, name);
}
QCheckBox* box(const QWidget* w, const char* name) {
    return control<QCheckBox>(w, name);
}
void click(const QWidget* w, const char* name) {
    QTest::mouseClick(control<QPushButton>(w, name), Qt::LeftButton);
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { answerMessagesInTest(); }

    void missingFileShowsTheMessageAndWritesTheDefaults() {
        GuiFolder folder;
        {
            SettingsDialog dialog(folder.path());
            QCOMPARE(MessageBoxes::shown().size(), std::size_t{1});
            const auto& shown = MessageBoxes::shown().front();
            QCOMPARE(shown.title, QString("Error"));
            QCOMPARE(
                shown.text,
                QString("\"settings.dat\" could not be found. File created and defaults used."));
            QVERIFY(shown.icon == MessageIcon::Exclamation);
            QCOMPARE(folder.read("settings.dat"), kDefaults);

            QCOMPARE(list(&dialog, "cboPtMax")->currentText(), QString("200"));
            QCOMPARE(list(&dialog, "cboPenalty")->currentText(), QString("20 minutes"));
            QCOMPARE(list(&dialog, "cboAlign")->currentText(), QString("Center"));
            QVERIFY(!text(&dialog, "txtDirectory")->isEnabled());
            click(&dialog, "cmdCancel");
        }
        QCOMPARE(folder.read("settings.dat"), kDefaults); // Cancel leaves the file as written

        SettingsDialog again(folder.path());
        QCOMPARE(MessageBoxes::shown().size(), std::size_t{1}); // no second message
        click(&again, "cmdOK");
        QCOMPARE(folder.read("settings.dat"), kDefaults);
    }

    void directoryBoxAddsLineNineAndClearingItEmptiesTheText() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        {
            SettingsDialog dialog(folder.path());
            box(&dialog, "chkDirectory")->click();
            QVERIFY(text(&dialog, "txtDirectory")->isEnabled());
            QTest::keyClicks(text(&dialog, "txtDirectory"), "/www/q");
            click(&dialog, "cmdOK");
        }
        QCOMPARE(
            folder.read("settings.dat"),
            crlf({"ftp.quenmark.example", "quenmark", "zebulons", "yellow", " 0 ", " 3 ", " 1 ",
                  " 1 ", "/www/q", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
        {
            SettingsDialog dialog(folder.path());
            QLineEdit* directory = text(&dialog, "txtDirectory");
            QVERIFY(directory->isEnabled());
            QCOMPARE(directory->text(), QString("/www/q"));
            box(&dialog, "chkDirectory")->click();
            QCOMPARE(directory->text(), QString()); // at once, before OK
            QVERIFY(!directory->isEnabled());
            click(&dialog, "cmdOK");
        }
        QCOMPARE(folder.read("settings.dat"), kDefaults);
        SettingsDialog dialog(folder.path());
        QVERIFY(!text(&dialog, "txtDirectory")->isEnabled());
        QCOMPARE(text(&dialog, "txtDirectory")->text(), QString());
    }

    void reopeningShowsWhatWasSaved() {
        GuiFolder folder;
        const std::string stored =
            crlf({" ftp.x.org ", "op", "s3cret", "#FF0000", " 8 ", " 7 ", " 2 ", " 1 ", "", " 0 ",
                  " 1 ", " 0 ", " 1 ", " 0 ", " 1 ", " 0 ", " 2 "});
        folder.write("settings.dat", stored);
        SettingsDialog dialog(folder.path());
        QVERIFY(MessageBoxes::shown().empty());
        QCOMPARE(text(&dialog, "txtServer")->text(), QString(" ftp.x.org "));
        QCOMPARE(text(&dialog, "txtUsername")->text(), QString("op"));
        QCOMPARE(text(&dialog, "txtPassword")->text(), QString("s3cret"));
        QLineEdit* password = text(&dialog, "txtPassword");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(
            password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
            int('*'));
        QCOMPARE(text(&dialog, "txtPtColor")->text(), QString("#FF0000"));
        QCOMPARE(list(&dialog, "cboPtMax")->currentText(), QString("15"));
        QCOMPARE(list(&dialog, "cboPenalty")->currentText(), QString("1 hour"));
        QCOMPARE(list(&dialog, "cboAlign")->currentText(), QString("Right"));
        QVERIFY(text(&dialog, "txtDirectory")->isEnabled()); // flag 1 with an empty directory
        const bool expected[] = {false, true, false, true, false, true, false, false};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(box(&dialog, kUploadBoxes[i])->isChecked(), expected[i]);

        // OK writes the same values back; the flag 2 was off and is written as 0.
        click(&dialog, "cmdOK");
        QCOMPARE(folder.read("settings.dat"),
                 crlf({" ftp.x.org ", "op", "s3cret", "#FF0000", " 8 ", " 7 ", " 2 ", " 1 ", "",
                       " 0 ", " 1 ", " 0 ", " 1 ", " 0 ", " 1 ", " 0 ", " 0 "}));
    }

    void cancelWritesNothing() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        SettingsDialog dialog(folder.path());
        QTest::keyClicks(text(&dialog, "txtServer"), "changed");
        list(&dialog, "cboAlign")->setCurrentIndex(0);
        box(&dialog, "chkTARVO")->click();
        QPointer<SettingsDialog> alive(&dialog);
        click(&dialog, "cmdCancel");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(folder.read("settings.dat"), kDefaults);
    }

    void positionsOutsideTheListsShowTheEntryTheRunUses() {
        GuiFolder folder;
        folder.write("settings.dat", crlf({"s", "u", "p", "c", " 12 ", "-1", " 9 ", " 0 ", " 1 ",
                                           " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
        SettingsDialog dialog(folder.path());
        QCOMPARE(list(&dialog, "cboPtMax")->currentIndex(), 0);
        QCOMPARE(list(&dialog, "cboPenalty")->currentIndex(), 3);
        QCOMPARE(list(&dialog, "cboAlign")->currentIndex(), 1);
    }

    void listsHoldTheirEntriesAndThePenaltyItsSeconds() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        SettingsDialog dialog(folder.path());
        QComboBox* points = list(&dialog, "cboPtMax");
        QStringList pointTexts;
        for (int i = 0; i < points->count(); ++i)
            pointTexts.append(points->itemText(i));
        QCOMPARE(pointTexts,
                 QStringList({"200", "175", "150", "125", "100", "75", "50", "25", "15", "10"}));
        QComboBox* penalty = list(&dialog, "cboPenalty");
        const QStringList penaltyTexts = {"5 minutes",  "10 minutes", "15 minutes", "20 minutes",
                                          "30 minutes", "40 minutes", "50 minutes", "1 hour"};
        const int seconds[] = {300, 600, 900, 1200, 1800, 2400, 3000, 3600};
        QCOMPARE(penalty->count(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(penalty->itemText(i), penaltyTexts[i]);
            QCOMPARE(penalty->itemData(i).toInt(), seconds[i]);
        }
        QComboBox* align = list(&dialog, "cboAlign");
        QCOMPARE(align->count(), 3);
        QCOMPARE(align->itemText(0) + align->itemText(1) + align->itemText(2),
                 QString("LeftCenterRight"));
    }

    void typedTextIsStoredAsLatin1Bytes() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        SettingsDialog dialog(folder.path());
        text(&dialog, "txtUsername")->setText(QString::fromUtf8("Zoë€"));
        click(&dialog, "cmdOK");
        const std::string saved = folder.read("settings.dat");
        QCOMPARE(saved.substr(0, saved.find("zebulons")),
                 std::string("ftp.quenmark.example\r\nZo\xEB?\r\n"));
    }

    void tabOrderFollowsTheFieldsWithTheDirectoryLast() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        SettingsDialog dialog(folder.path());
        const QStringList expected = {"txtServer",  "txtUsername", "txtPassword", "txtPtColor",
                                      "cboPtMax",   "cboPenalty",  "cboAlign",    "chkDirectory",
                                      "chkElite",   "chkElite2",   "chkStage",    "chkDiff",
                                      "chkLeaders", "chkRoster",   "chkPoints",   "chkTARVO",
                                      "cmdOK",      "cmdCancel",   "txtDirectory"};
        QStringList chain;
        QWidget* w = text(&dialog, "txtServer");
        do {
            if (expected.contains(w->objectName()))
                chain.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != text(&dialog, "txtServer"));
        QCOMPARE(chain, expected);
    }

    void askingTwiceBringsTheOpenWindowAndReopeningReadsAfresh() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        WindowKeeper<QWidget> keeper;
        int created = 0;
        auto create = [&] {
            ++created;
            return new SettingsDialog(folder.path());
        };
        QPointer<QWidget> first = keeper.show(create);
        text(first, "txtPtColor")->setText("typed, not saved");
        QCOMPARE(keeper.show(create), first.data());
        QCOMPARE(created, 1);
        QCOMPARE(text(first, "txtPtColor")->text(), QString("typed, not saved"));

        click(first, "cmdCancel");
        QTRY_VERIFY(first.isNull()); // closing unloads the window
        folder.write("settings.dat", crlf({"s", "u", "p", "blue", " 0 ", " 3 ", " 1 ", " 0 ", " 1 ",
                                           " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
        QPointer<QWidget> second = keeper.show(create);
        QCOMPARE(created, 2);
        QCOMPARE(text(second, "txtPtColor")->text(), QString("blue"));
        QTest::keyClick(second, Qt::Key_Escape); // acts as Cancel
        QTRY_VERIFY(second.isNull());
    }

    void mainWindowOpensOneSettingsWindowWithoutBlocking() {
        GuiFolder folder;
        folder.write("settings.dat", kDefaults);
        folder.write("roster.txt", "");
        MainWindow main(folder.path());
        main.show();
        click(&main, "cmdSettings");
        QPointer<QWidget> first = openWindowOf("SettingsDialog");
        QVERIFY(first);
        QVERIFY(!static_cast<QDialog*>(first.data())->isModal());
        QCOMPARE(first->windowTitle(), QString("Updater - Settings"));
        click(&main, "cmdSettings");
        QCOMPARE(openWindowOf("SettingsDialog"), first.data());
        click(first, "cmdOK");
        QTRY_VERIFY(first.isNull());
        QCOMPARE(folder.read("settings.dat"), kDefaults);
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
