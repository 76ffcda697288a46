#pragma once

#include "core/ports/run_observer.h"
#include "core/update_run.h"
#include "gui/window_keeper.h"
#include "platform/date_stamp.h"
#include "platform/folder_run_lock.h"
#include "platform/system_process_starter.h"

#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;
class QDialog;

namespace quenmark {

// The program's only window at start: the five commands, the four progress
// lines of an update run and the polling timer.
class MainWindow : public QWidget, private RunObserver {
    Q_OBJECT

public:
    explicit MainWindow(std::filesystem::path mainFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    const std::filesystem::path& mainFolder() const { return m_folder; }
    // For tests: the run a window drives, with its own process starter.
    void setProcessStarter(ProcessStarter& processes);

public slots:
    void updateCommand();
    void openMembers();
    void openSettings();
    void openAbout();
    void endProgram();

private slots:
    void timerTick();

private:
    void captionChanged(const std::string& caption) override;
    void stageChanged(int stage) override;
    void buttonsEnabledChanged(bool enabled) override;
    void timerChanged(bool on) override;
    void showMessage(const OperatorMessage& message) override;

    RunObserver& observer() { return *this; }
    void buildControls();
    void createInvalidNamesFile();

    std::filesystem::path m_folder;
    SystemProcessStarter m_systemProcesses{SystemProcessStarter::UploadMode::Detached};
    FolderRunLock m_runLock;
    SystemClock m_clock;
    std::unique_ptr<UpdateRun> m_run;

    QPushButton* m_cmdUpdate = nullptr;
    QPushButton* m_cmdMembers = nullptr;
    QPushButton* m_cmdSettings = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    QPushButton* m_cmdExit = nullptr;
    std::array<QLabel*, 4> m_markers{};
    std::array<QLabel*, 4> m_stageLabels{};
    QTimer* m_tmrDownload = nullptr;

    WindowKeeper<QWidget> m_members;
    WindowKeeper<QWidget> m_settings;
    WindowKeeper<QDialog> m_about;
};

} // namespace quenmark
