#include "gui/main_window.h"

#include "core/main_folder.h"
#include "core/model/invalid_names.h"
#include "core/model/text_file.h"
#include "core/publish/upload.h"
#include "core/run_stages.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/log_dialog.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/last_run.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"
#include "gui/program_icon.h"
#include "gui/widgets.h"
#include "gui/window_geometry.h"
#include "platform/path_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace quenmark {

namespace {

constexpr const char* kMarker = "\u00bb";
constexpr std::array<const char*, 4> kStageControls = {"lblReadRoster", "lblDownload", "lblCalc",
                                                       "lblUpload"};

// caption: the button's text with & before its Alt letter.
QPushButton* makeButton(const char* name, const char* caption) {
    auto* button = named(new QPushButton(QString::fromUtf8(caption)), name);
    button->setMinimumWidth(110);
    return button;
}

// The folder as the operator knows it: the home folder as "~".
QString shownFolder(const std::filesystem::path& folder) {
    const QString path = textFromPath(folder);
    const QString home = QDir::homePath();
    if (path == home)
        return "~";
    if (path.startsWith(home + '/'))
        return '~' + path.mid(home.size());
    return path;
}

} // namespace

MainWindow::MainWindow(std::filesystem::path mainFolder, BatchStarter& batch,
                       UploadStarter& uploads, RunLock& lock, Clock& clock, QWidget* parent)
    : QWidget(parent), m_folder(std::move(mainFolder)),
      m_run(m_folder, batch, uploads, lock, clock, observer()) {
    setObjectName("frmMain");
    setWindowIcon(programIcon());
    captionChanged(kIdleCaption);
    buildControls();
    showSummary(lastRunText(m_folder, QDate::currentDate()));
    rememberGeometry(this);
    createInvalidNamesFile();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    m_cmdUpdate = makeButton("cmdUpdate", "&Update!");
    m_cmdMembers = makeButton("cmdMembers", "&Members");
    m_cmdSettings = makeButton("cmdSettings", "&Settings");
    m_cmdAbout = makeButton("cmdAbout", "&About...");
    m_cmdExit = makeButton("cmdExit", "E&xit");
    m_cmdLog = makeButton("cmdLog", "&Log");
    m_cmdLog->setToolTip(QString("%1 and %2 of the latest run").arg(kErrorLogFile, kUploadLogFile));
    m_cmdOpenSite = makeButton("cmdOpenSite", "&Open site");
    m_cmdOpenSite->setToolTip(QString("%1 in the browser").arg(kSitePage));
    QFont updateFont = m_cmdUpdate->font();
    updateFont.setBold(true);
    m_cmdUpdate->setFont(updateFont);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_cmdUpdate, m_cmdMembers, m_cmdSettings, m_cmdAbout, m_cmdExit})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* progress = new QGridLayout;
    progress->setColumnMinimumWidth(0, 20);
    for (std::size_t i = 0; i < kStageNames.size(); ++i) {
        m_markers[i] = named(new QLabel, QString("lbl%1").arg(i + 1).toLatin1().constData());
        QFont bold = m_markers[i]->font();
        bold.setBold(true);
        m_markers[i]->setFont(bold);
        m_stageLabels[i] = named(new QLabel(kStageNames[i]), kStageControls[i]);
        // Room for the line in bold, whatever the count beside it needs.
        m_stageLabels[i]->setMinimumWidth(
            QFontMetrics(bold).horizontalAdvance(m_stageLabels[i]->text()) + 2);
        progress->addWidget(m_markers[i], static_cast<int>(i), 0);
        progress->addWidget(m_stageLabels[i], static_cast<int>(i), 1);
    }
    m_lblDownloadCount = named(new QLabel, "lblDownloadCount");
    progress->addWidget(m_lblDownloadCount, kDownloadStage - 1, 2);
    m_lblUploadCount = named(new QLabel, "lblUploadCount");
    progress->addWidget(m_lblUploadCount, kUploadStage - 1, 2);
    progress->setRowStretch(static_cast<int>(kStageNames.size()), 1);
    progress->setColumnStretch(2, 1);

    auto* lastRun = new QHBoxLayout;
    lastRun->addStretch();
    lastRun->addWidget(m_cmdLog);
    lastRun->addWidget(m_cmdOpenSite);
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addLayout(progress, 1);
    rightColumn->addLayout(lastRun);

    auto* credit = named(new QLabel("Quenmark Updater - keeps the fastest times of the community."),
                         "lblCredit");
    credit->setWordWrap(true);
    QFont small = credit->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    credit->setFont(small);

    m_lblSummary = named(new QLabel, "lblSummary");
    m_lblSummary->setTextFormat(Qt::PlainText);
    // A long summary (an upload's reason) must not widen the window past the
    // screen: the line takes the room there is, its tip the whole text.
    m_lblSummary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* statusBar = named(new QStatusBar, "sbrStatus");
    statusBar->setSizeGripEnabled(false);
    statusBar->addWidget(m_lblSummary, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(buttons);
    top->addSpacing(16);
    top->addLayout(rightColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(credit);
    layout->addWidget(statusBar);
    // The layout keeps the window at least as large as its lines need.
    resize(460, 260);

    m_tmrDownload = new QTimer(this);
    m_tmrDownload->setObjectName("tmrDownload");
    m_tmrDownload->setInterval(1000);

    connect(m_cmdUpdate, &QPushButton::clicked, this, &MainWindow::updateCommand);
    connect(m_cmdMembers, &QPushButton::clicked, this, &MainWindow::openMembers);
    connect(m_cmdSettings, &QPushButton::clicked, this, &MainWindow::openSettings);
    connect(m_cmdAbout, &QPushButton::clicked, this, &MainWindow::openAbout);
    connect(m_cmdExit, &QPushButton::clicked, this, &MainWindow::exitCommand);
    connect(m_cmdLog, &QPushButton::clicked, this, &MainWindow::openLog);
    connect(m_cmdOpenSite, &QPushButton::clicked, this, &MainWindow::openSite);
    connect(m_tmrDownload, &QTimer::timeout, this, &MainWindow::timerTick);
    chainTabOrder(
        {m_cmdUpdate, m_cmdMembers, m_cmdSettings, m_cmdAbout, m_cmdExit, m_cmdLog, m_cmdOpenSite});
}

void MainWindow::createInvalidNamesFile() {
    const auto file = m_folder / kInvalidNamesFile;
    if (fileExists(file))
        return;
    try {
        writeEmptyFile(file);
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error);
    }
}

void MainWindow::updateCommand() {
    m_runDate = QDate::currentDate();
    m_run.updateCommand();
}
void MainWindow::timerTick() {
    m_run.tick();
}

void MainWindow::openMembers() {
    m_members.show([this]() -> QWidget* {
        auto* members = new MembersDialog(m_folder, m_memberWindows, this);
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

void MainWindow::openLog() {
    // Already open, it shows the files as they are now.
    if (LogDialog* log = m_log.window())
        log->reload();
    m_log.show([this] { return new LogDialog(m_folder, this); });
}

void MainWindow::openSite() {
    const std::filesystem::path page = m_folder / kSitePage;
    if (!fileExists(page)) {
        MessageBoxes::show(
            this, "Open site",
            QString("\"%1\" could not be found. Click Update! to write the pages.").arg(kSitePage),
            MessageIcon::Information);
        return;
    }
    const QString path = textFromPath(page);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        MessageBoxes::show(this, "Open site",
                           QString("No program could open \"%1\": the desktop has no web "
                                   "browser set. Open %2 in a browser.")
                               .arg(kSitePage, path),
                           MessageIcon::Exclamation);
}

// The upload belongs to the run: ending the program ends it.
bool MainWindow::runGoingOn() const {
    return !m_ending && (m_run.timerOn() || m_run.outcome() == RunOutcome::Uploading);
}

// The question does not hold up the run: if the run ends first, the question
// no longer stands and closes by itself.
void MainWindow::askToExit() {
    if (m_exitQuestion) {
        m_exitQuestion->raise();
        return;
    }
    m_exitQuestion = MessageBoxes::ask(this, "Exit", "An update is running. Exit anyway?",
                                       MessageBoxes::Buttons::YesNoDefaultNo,
                                       [this](MessageBoxes::Answer answer) {
                                           if (answer == MessageBoxes::Answer::Yes)
                                               endProgram();
                                       });
}

void MainWindow::exitCommand() {
    if (runGoingOn())
        askToExit();
    else
        endProgram();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!runGoingOn())
        return event->accept();
    event->ignore();
    askToExit();
}

void MainWindow::endProgram() {
    m_ending = true;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

// The caption says what the run does; the window adds the folder it works on.
void MainWindow::captionChanged(const std::string& caption) {
    setWindowTitle(fromBytes(caption) + " \u2014 " + shownFolder(m_folder));
}

void MainWindow::stageChanged(int stage) {
    for (std::size_t i = 0; i < kStageNames.size(); ++i) {
        const bool current = static_cast<int>(i) + 1 == stage;
        m_markers[i]->setText(current ? QString::fromUtf8(kMarker) : QString());
        QFont font = m_stageLabels[i]->font();
        font.setBold(current);
        m_stageLabels[i]->setFont(font);
    }
    if (stage == kReadingRosterStage) { // a new run
        m_lblDownloadCount->clear();
        m_lblUploadCount->clear();
    }
    // The processing half runs inside one tick; let the operator see the line change.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::buttonsEnabledChanged(bool enabled) {
    for (QPushButton* button : {m_cmdUpdate, m_cmdMembers, m_cmdSettings, m_cmdAbout})
        button->setEnabled(enabled);
    // Disabled buttons pass the focus on to Exit; a Space there would end the program.
    if (enabled)
        m_cmdUpdate->setFocus(Qt::OtherFocusReason);
}

void MainWindow::timerChanged(bool on) {
    if (on) {
        m_tmrDownload->start();
        return;
    }
    m_tmrDownload->stop();
}

// Once the run is over, "An update is running" no longer holds. Every end of a
// run shows its summary; the end of the downloads is not one, the upload is
// still to come.
void MainWindow::closeExitQuestion() {
    if (m_exitQuestion && !runGoingOn())
        m_exitQuestion->close();
}

void MainWindow::showMessage(const OperatorMessage& message) {
    MessageBoxes::show(this, message);
}

void MainWindow::downloadCountChanged(int written, int total) {
    m_lblDownloadCount->setText(QString::fromStdString(downloadCountText(written, total)));
}

void MainWindow::uploadCountChanged(int sent, int total) {
    m_lblUploadCount->setText(QString::fromStdString(uploadCountText(sent, total)));
}

void MainWindow::showSummary(const QString& summary) {
    m_lblSummary->setText(summary);
    m_lblSummary->setToolTip(summary);
}

void MainWindow::summaryChanged(const std::string& summary) {
    closeExitQuestion();
    showSummary(fromBytes(summary));
    keepLastRun(m_folder, fromBytes(summary), m_runDate);
}

} // namespace quenmark
