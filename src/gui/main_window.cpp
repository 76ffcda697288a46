#include "gui/main_window.h"

#include "core/model/invalid_names.h"
#include "core/model/text_file.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quenmark {

namespace {

constexpr const char* kMarker = "\u00bb";

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setMinimumWidth(110);
    return button;
}

} // namespace

MainWindow::MainWindow(std::filesystem::path mainFolder, QWidget* parent)
    : QWidget(parent), m_folder(std::move(mainFolder)),
      m_run(std::make_unique<UpdateRun>(m_folder, m_systemProcesses, m_runLock, m_clock,
                                        observer())) {
    setObjectName("frmMain");
    setWindowTitle(kIdleCaption);
    buildControls();
    createInvalidNamesFile();
}

MainWindow::~MainWindow() = default;

void MainWindow::setProcessStarter(ProcessStarter& processes) {
    m_run = std::make_unique<UpdateRun>(m_folder, processes, m_runLock, m_clock, observer());
}

void MainWindow::buildControls() {
    m_cmdUpdate = makeButton(this, "cmdUpdate", "Update!");
    m_cmdMembers = makeButton(this, "cmdMembers", "Members");
    m_cmdSettings = makeButton(this, "cmdSettings", "Settings");
    m_cmdAbout = makeButton(this, "cmdAbout", "About...");
    m_cmdExit = makeButton(this, "cmdExit", "Exit");
    QFont updateFont = m_cmdUpdate->font();
    updateFont.setBold(true);
    m_cmdUpdate->setFont(updateFont);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_cmdUpdate, m_cmdMembers, m_cmdSettings, m_cmdAbout, m_cmdExit})
        buttons->addWidget(button);
    buttons->addStretch();

    constexpr std::array<const char*, 4> stageNames = {"lblReadRoster", "lblDownload", "lblCalc",
                                                       "lblUpload"};
    constexpr std::array<const char*, 4> stageTexts = {"Reading Roster", "Downloading Member Pages",
                                                       "Doing Scary Calculations",
                                                       "Uploading Final Pages"};
    auto* progress = new QGridLayout;
    progress->setColumnMinimumWidth(0, 20);
    for (std::size_t i = 0; i < 4; ++i) {
        m_markers[i] = new QLabel(this);
        m_markers[i]->setObjectName(QString("lbl%1").arg(i + 1));
        QFont bold = m_markers[i]->font();
        bold.setBold(true);
        m_markers[i]->setFont(bold);
        m_stageLabels[i] = new QLabel(stageTexts[i], this);
        m_stageLabels[i]->setObjectName(stageNames[i]);
        progress->addWidget(m_markers[i], static_cast<int>(i), 0);
        progress->addWidget(m_stageLabels[i], static_cast<int>(i), 1);
    }
    progress->setRowStretch(4, 1);
    progress->setColumnStretch(1, 1);

    auto* credit = new QLabel("Quenmark Updater - keeps the fastest times of the community.", this);
    credit->setObjectName("lblCredit");
    credit->setWordWrap(true);
    QFont small = credit->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    credit->setFont(small);

    auto* top = new QHBoxLayout;
    top->addLayout(buttons);
    top->addSpacing(16);
    top->addLayout(progress, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(credit);
    setMinimumSize(420, 220);

    m_tmrDownload = new QTimer(this);
    m_tmrDownload->setObjectName("tmrDownload");
    m_tmrDownload->setInterval(1000);

    connect(m_cmdUpdate, &QPushButton::clicked, this, &MainWindow::updateCommand);
    connect(m_cmdMembers, &QPushButton::clicked, this, &MainWindow::openMembers);
    connect(m_cmdSettings, &QPushButton::clicked, this, &MainWindow::openSettings);
    connect(m_cmdAbout, &QPushButton::clicked, this, &MainWindow::openAbout);
    connect(m_cmdExit, &QPushButton::clicked, this, &MainWindow::endProgram);
    connect(m_tmrDownload, &QTimer::timeout, this, &MainWindow::timerTick);
}

void MainWindow::createInvalidNamesFile() {
    const auto file = m_folder / kInvalidNamesFile;
    if (fileExists(file))
        return;
    try {
        writeEmptyFile(file);
    } catch (const FileError& error) {
        MessageBoxes::show(this, errorMessage(error.what()));
    }
}

void MainWindow::updateCommand() {
    m_run->updateCommand();
}
void MainWindow::timerTick() {
    m_run->tick();
}

void MainWindow::openMembers() {
    m_members.show([this]() -> QWidget* {
        auto* members = new MembersDialog(m_folder, this);
        connect(members, &MembersDialog::programEndRequested, this, &MainWindow::endProgram);
        if (members->openFiles())
            return members;
        delete members;
        return nullptr;
    });
}

void MainWindow::openSettings() {
    m_settings.show([this]() -> SettingsDialog* {
        auto* settings = new SettingsDialog(m_folder, this);
        if (settings->loaded())
            return settings;
        delete settings;
        return nullptr;
    });
}

void MainWindow::openAbout() {
    m_about.show([this] { return new AboutDialog(this); });
}

void MainWindow::endProgram() {
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::captionChanged(const std::string& caption) {
    setWindowTitle(fromBytes(caption));
}

void MainWindow::stageChanged(int stage) {
    for (std::size_t i = 0; i < 4; ++i) {
        const bool current = static_cast<int>(i) + 1 == stage;
        m_markers[i]->setText(current ? QString::fromUtf8(kMarker) : QString());
        QFont font = m_stageLabels[i]->font();
        font.setBold(current);
        m_stageLabels[i]->setFont(font);
    }
    // The processing half runs inside one tick; let the operator see the line change.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::buttonsEnabledChanged(bool enabled) {
    for (QPushButton* button : {m_cmdUpdate, m_cmdMembers, m_cmdSettings, m_cmdAbout})
        button->setEnabled(enabled);
}

void MainWindow::timerChanged(bool on) {
    if (on)
        m_tmrDownload->start();
    else
        m_tmrDownload->stop();
}

void MainWindow::showMessage(const OperatorMessage& message) {
    MessageBoxes::show(this, message);
}

} // namespace quenmark
