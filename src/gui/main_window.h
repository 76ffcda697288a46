#pragma once

#include "core/ports/run_observer.h"
#include "core/update_run.h"
#include "gui/dialogs/member_windows.h"
#include "gui/window_keeper.h"

#include <QDate>
#include <QPointer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>

class QDialog;
class QLabel;
class QMessageBox;
class QPushButton;
class QTimer;

namespace quenmark {

class LogDialog;

// The program's only window at start: the five commands, the four progress
// lines of an update run and the polling timer; below them the count of pages
// downloaded, the summary of the latest run, its log and the site it wrote.
class MainWindow : public QWidget, private RunObserver {
    Q_OBJECT

public:
    // The processes, the folder's lock and the clock are the run's: the
    // platform's in the program, stand-ins in tests.
    MainWindow(std::filesystem::path mainFolder, BatchStarter& batch, UploadStarter& uploads,
               RunLock& lock, Clock& clock, QWidget* parent = nullptr);
    ~MainWindow() override;

    const std::filesystem::path& mainFolder() const { return m_folder; }

public slots:
    void updateCommand();
    void openMembers();
    void openSettings();
    void openAbout();
    void openLog();
    void openSite();
    // Exit: during a run the operator is asked first (No is the default).
    void exitCommand();
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void timerTick();

private:
    void captionChanged(const std::string& caption) override;
    void stageChanged(int stage) override;
    void buttonsEnabledChanged(bool enabled) override;
    void timerChanged(bool on) override;
    void showMessage(const OperatorMessage& message) override;
    void downloadCountChanged(int written, int total) override;
    void uploadCountChanged(int sent, int total) override;
    void summaryChanged(const std::string& summary) override;
    // The log window reads ftp.log itself; the summary tells how the upload went.
    void uploadEnded(const UploadEnd&) override {}

    RunObserver& observer() { return *this; }
    void buildControls();
    void createInvalidNamesFile();
    void showSummary(const QString& summary);
    bool runGoingOn() const;
    void askToExit();
    void closeExitQuestion();

    std::filesystem::path m_folder;
    UpdateRun m_run;
    bool m_ending = false;
    QDate m_runDate = QDate::currentDate();
    QPointer<QMessageBox> m_exitQuestion;

    QPushButton* m_cmdUpdate = nullptr;
    QPushButton* m_cmdMembers = nullptr;
    QPushButton* m_cmdSettings = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QPushButton* m_cmdLog = nullptr;
    QPushButton* m_cmdOpenSite = nullptr;
    std::array<QLabel*, 4> m_markers{};
    std::array<QLabel*, 4> m_stageLabels{};
    QLabel* m_lblDownloadCount = nullptr;
    QLabel* m_lblUploadCount = nullptr;
    QLabel* m_lblSummary = nullptr;
    QTimer* m_tmrDownload = nullptr;

    WindowKeeper<QWidget> m_members;
    WindowKeeper<QWidget> m_settings;
    WindowKeeper<QDialog> m_about;
    WindowKeeper<LogDialog> m_log;
    // The Members window's own windows outlive it, so they are kept here.
    MemberWindows m_memberWindows;
};

} // namespace quenmark
