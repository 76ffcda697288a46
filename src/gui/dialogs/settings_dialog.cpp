#include "gui/dialogs/settings_dialog.h"

#include "core/harvest/download_jobs.h"
#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "core/publish/server_address.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"
#include "gui/one_line_field.h"
#include "gui/widgets.h"
#include "platform/connection_test.h"
#include "platform/download_jobs_setting.h"
#include "platform/ftp_library.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace quenmark {

namespace {

// "5 minutes" ... "1 hour", as the penalty list shows a table entry.
QString penaltyText(int seconds) {
    if (seconds == 3600)
        return "1 hour";
    return QString("%1 minutes").arg(seconds / 60);
}

QCheckBox* uploadBox(const char* name, const QString& caption) {
    return named(new QCheckBox(caption), name);
}

// A file name as a caption, its Alt letter at the position.
QString withAltLetter(const char* fileName, int at) {
    return QString::fromLatin1(fileName).insert(at, '&');
}

// A stored position outside its list shows the entry the run uses for it,
// so the dialog never writes such a position back.
void selectPosition(QComboBox* list, int position, int fallback) {
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : fallback);
}

std::int16_t flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

} // namespace

SettingsDialog::SettingsDialog(std::filesystem::path mainFolder, QWidget* parent)
    : QDialog(parent), m_folder(std::move(mainFolder)) {
    buildControls();
    load();
}

void SettingsDialog::buildControls() {
    setWindowTitle("Updater - Settings");

    m_txtServer = oneLineField("txtServer");
    m_txtUsername = oneLineField("txtUsername");
    m_txtPassword = oneLineField("txtPassword");
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setStyleSheet("lineedit-password-character: 42"); // "*", whatever the style
    m_txtPtColor = oneLineField("txtPtColor");

    m_cboPtMax = named(new QComboBox, "cboPtMax");
    for (int points : kPointMaxTable)
        m_cboPtMax->addItem(QString::number(points));
    m_cboPenalty = named(new QComboBox, "cboPenalty");
    for (int seconds : kPenaltySecondsTable)
        m_cboPenalty->addItem(penaltyText(seconds), seconds);
    m_cboAlign = named(new QComboBox, "cboAlign");
    for (const char* word : kAlignWords) {
        QString shown = QString::fromLatin1(word);
        m_cboAlign->addItem(shown.left(1).toUpper() + shown.mid(1));
    }
    for (QComboBox* list : {m_cboPtMax, m_cboPenalty, m_cboAlign})
        list->setCurrentIndex(-1);

    m_chkDirectory = named(new QCheckBox("D&irectory:"), "chkDirectory");
    m_txtDirectory = oneLineField("txtDirectory");
    m_txtDirectory->setAccessibleName("Directory");

    m_chkElite = uploadBox("chkElite", withAltLetter(kSitePageFile, 0));
    m_chkElite2 = uploadBox("chkElite2", "elite&2.htm");
    m_chkStage = uploadBox("chkStage", "&stage files");
    m_chkDiff = uploadBox("chkDiff", "&diff files");
    m_chkLeaders = uploadBox("chkLeaders", "&leaders.htm");
    m_chkRoster = uploadBox("chkRoster", "&roster.htm");
    m_chkPoints = uploadBox("chkPoints", "points.&htm");
    m_chkTARVO = uploadBox("chkTARVO", withAltLetter(kPictureFile, 3));
    const QList<QCheckBox*> uploads = {m_chkElite,   m_chkElite2, m_chkStage,  m_chkDiff,
                                       m_chkLeaders, m_chkRoster, m_chkPoints, m_chkTARVO};

    m_cmdOK = named(new QPushButton("&OK"), "cmdOK");
    m_cmdOK->setDefault(true);
    m_cmdCancel = named(new QPushButton("&Cancel"), "cmdCancel");
    m_cmdCancel->setAutoDefault(false);

    // Beside the server: whether the address sends the account and the pages
    // in clear text.
    m_lblEncryption = named(new QLabel, "lblEncryption");
    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(m_txtServer, 1);
    serverRow->addWidget(m_lblEncryption);
    auto* serverCaption = new QLabel("&FTP Server:");
    serverCaption->setBuddy(m_txtServer);

    m_cmdTestConnection = named(new QPushButton, "cmdTestConnection");
    m_cmdTestConnection->setAutoDefault(false);
    m_cmdTestConnection->setToolTip(
        "Log in with the account as it stands here, open the directory and list it");
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(m_cmdTestConnection);
    testRow->addStretch();

    auto* fields = new QFormLayout;
    fields->addRow(serverCaption, serverRow);
    fields->addRow("&Username:", m_txtUsername);
    fields->addRow("P&assword:", m_txtPassword);
    fields->addRow(QString(), testRow);
    fields->addRow("&Point Color:", m_txtPtColor);
    fields->addRow("Point &Max:", m_cboPtMax);
    fields->addRow("&N/A Penalty:", m_cboPenalty);
    fields->addRow("Ta&ble Align:", m_cboAlign);
    fields->addRow(m_chkDirectory, m_txtDirectory);
    m_spnJobs = named(new QSpinBox, "spnJobs");
    m_spnJobs->setRange(kMinDownloadJobs, kMaxDownloadJobs);
    m_spnJobs->setValue(downloadJobsSetting());
    fields->addRow("Pa&ges at once:", m_spnJobs);

    auto* uploadBoxes = new QGroupBox("Upload");
    auto* uploadColumn = new QVBoxLayout(uploadBoxes);
    for (QCheckBox* box : uploads) {
        box->setChecked(true);
        uploadColumn->addWidget(box);
    }
    uploadColumn->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(fields, 1);
    columns->addSpacing(12);
    columns->addWidget(uploadBoxes);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto* window = new QVBoxLayout(this);
    window->addLayout(columns);
    window->addLayout(buttons);
    m_txtServer->setMinimumWidth(220);

    // The left column, the upload boxes, then OK and Cancel.
    QList<QWidget*> order = {m_txtServer,    m_txtUsername,  m_txtPassword, m_cmdTestConnection,
                             m_txtPtColor,   m_cboPtMax,     m_cboPenalty,  m_cboAlign,
                             m_chkDirectory, m_txtDirectory, m_spnJobs};
    for (QCheckBox* box : uploads)
        order.append(box);
    order.append({m_cmdOK, m_cmdCancel});
    chainTabOrder(order);

    directoryClicked(false);
    connectionTestEnded();
    connect(m_chkDirectory, &QCheckBox::toggled, this, &SettingsDialog::directoryClicked);
    connect(m_txtServer, &QLineEdit::textChanged, this, &SettingsDialog::serverChanged);
    connect(m_cmdTestConnection, &QPushButton::clicked, this,
            &SettingsDialog::testConnectionClicked);
    connect(m_cmdOK, &QPushButton::clicked, this, &SettingsDialog::okClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void SettingsDialog::load() {
    std::optional<SiteSettings> stored;
    try {
        stored = loadSettings(m_folder);
    } catch (const FileError& error) {
        // The file is there but unreadable: it holds the FTP account, so the
        // defaults must not take its place; the window does not open.
        MessageBoxes::showError(this, error);
        m_loaded = false;
        return;
    }
    if (stored) {
        showSettings(*stored);
        return;
    }
    MessageBoxes::show(
        this, "Error",
        QString("\"%1\" could not be found. File created and defaults used.").arg(kSettingsFile),
        MessageIcon::Exclamation);
    showSettings(defaultSettings());
    // The file exists from now on, whatever the operator does next.
    save();
}

void SettingsDialog::showSettings(const SiteSettings& settings) {
    m_txtServer->setText(fromBytes(settings.ftpServer));
    m_txtUsername->setText(fromBytes(settings.ftpUser));
    m_txtPassword->setText(fromBytes(settings.ftpPassword));
    m_txtPtColor->setText(fromBytes(settings.pointColor));
    selectPosition(m_cboPtMax, settings.pointMaxIndex, kDefaultPointMaxIndex);
    selectPosition(m_cboPenalty, settings.penaltyIndex, kDefaultPenaltyIndex);
    selectPosition(m_cboAlign, settings.alignIndex, kDefaultAlignIndex);
    m_chkDirectory->setChecked(isFlagSet(settings.useDirectory));
    directoryClicked(m_chkDirectory->isChecked());
    if (m_chkDirectory->isChecked())
        m_txtDirectory->setText(fromBytes(settings.directory));
    m_chkElite->setChecked(isFlagSet(settings.uploadElite));
    m_chkElite2->setChecked(isFlagSet(settings.uploadElite2));
    m_chkStage->setChecked(isFlagSet(settings.uploadStage));
    m_chkDiff->setChecked(isFlagSet(settings.uploadDiff));
    m_chkLeaders->setChecked(isFlagSet(settings.uploadLeaders));
    m_chkRoster->setChecked(isFlagSet(settings.uploadRoster));
    m_chkPoints->setChecked(isFlagSet(settings.uploadPoints));
    m_chkTARVO->setChecked(isFlagSet(settings.uploadTarvo));
}

SiteSettings SettingsDialog::fields() const {
    SiteSettings s;
    s.ftpServer = toBytes(m_txtServer->text());
    s.ftpUser = toBytes(m_txtUsername->text());
    s.ftpPassword = toBytes(m_txtPassword->text());
    s.pointColor = toBytes(m_txtPtColor->text());
    s.pointMaxIndex = static_cast<std::int16_t>(m_cboPtMax->currentIndex());
    s.penaltyIndex = static_cast<std::int16_t>(m_cboPenalty->currentIndex());
    s.alignIndex = static_cast<std::int16_t>(m_cboAlign->currentIndex());
    s.useDirectory = flag(m_chkDirectory);
    if (m_chkDirectory->isChecked())
        s.directory = toBytes(m_txtDirectory->text());
    s.uploadElite = flag(m_chkElite);
    s.uploadElite2 = flag(m_chkElite2);
    s.uploadStage = flag(m_chkStage);
    s.uploadDiff = flag(m_chkDiff);
    s.uploadLeaders = flag(m_chkLeaders);
    s.uploadRoster = flag(m_chkRoster);
    s.uploadPoints = flag(m_chkPoints);
    s.uploadTarvo = flag(m_chkTARVO);
    return s;
}

bool SettingsDialog::save() {
    try {
        saveSettings(m_folder, fields());
        return true;
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error);
        return false;
    }
}

void SettingsDialog::directoryClicked(bool ticked) {
    if (!ticked)
        m_txtDirectory->clear();
    m_txtDirectory->setEnabled(ticked);
    // Cleared, the box takes a border grey so it reads as out of use.
    QPalette colours = m_txtDirectory->palette();
    const QPalette standard = palette();
    colours.setColor(QPalette::Base,
                     ticked ? standard.color(QPalette::Base) : standard.color(QPalette::Midlight));
    m_txtDirectory->setPalette(colours);
}

void SettingsDialog::okClicked() {
    // A file that could not be written keeps the window open with the operator's values.
    if (save()) {
        setDownloadJobsSetting(m_spnJobs->value());
        close();
    }
}

void SettingsDialog::serverChanged(const QString& text) {
    const ParsedAddress parsed = parseServerAddress(toBytes(text));
    if (!parsed.address) {
        m_lblEncryption->setText("not an address");
        m_lblEncryption->setToolTip(fromBytes(parsed.problem));
        return;
    }
    const bool plain = !isEncrypted(parsed.address->transport);
    m_lblEncryption->setText(plain ? "not encrypted" : "");
    m_lblEncryption->setToolTip(plain ? "The password and the pages travel in clear text: "
                                        "begin the address with ftpes://, ftps:// or sftp:// "
                                        "where the server offers it."
                                      : "");
}

void SettingsDialog::testConnectionClicked() {
    startConnectionTest(fields());
}

// The test runs beside the window, which stays usable: a server that does not
// answer keeps the operator waiting up to the upload's connect limit. What the
// thread uses lives as long as the thread, whether the window stays or not.
void SettingsDialog::startConnectionTest(const SiteSettings& settings) {
    if (!m_ftpLibrary)
        m_ftpLibrary = std::make_shared<FtpLibrary>();
    m_cmdTestConnection->setEnabled(false);
    m_cmdTestConnection->setText("Testing...");
    auto check = std::make_shared<ConnectionCheck>();
    QThread* thread = QThread::create(
        [settings, files = identityFilesOf(m_folder), library = m_ftpLibrary, check] {
            *check = library->started()
                         ? testConnection(settings, files)
                         : ConnectionCheck{false, "The FTP library could not be started.", {}};
        });
    connect(thread, &QThread::finished, this, [this, check] { connectionTested(*check); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void SettingsDialog::connectionTestEnded() {
    m_cmdTestConnection->setText("&Test connection");
    m_cmdTestConnection->setEnabled(true);
}

void SettingsDialog::connectionTested(const ConnectionCheck& check) {
    connectionTestEnded();
    const QString title = "Test connection";
    if (!check.unknownServer) {
        MessageBoxes::show(this, title, fromBytes(check.words),
                           check.ok ? MessageIcon::Information : MessageIcon::Critical);
        return;
    }
    const UnknownServer& server = *check.unknownServer;
    if (server.changed) {
        MessageBoxes::show(this, title, fromBytes(unknownServerText(server)),
                           MessageIcon::Critical);
        return;
    }
    const bool ssh = server.address.transport == Transport::Sftp;
    const QString question =
        fromBytes(unknownServerFacts(server)) +
        QString("\n\nTrust this server? Its %1 is added to %2 in the main folder.")
            .arg(ssh ? "host key" : "certificate",
                 ssh ? kKnownHostsFile : kTrustedCertificatesFile);
    if (MessageBoxes::show(this, title, question, MessageIcon::Question,
                           MessageBoxes::Buttons::YesNoDefaultNo) != MessageBoxes::Answer::Yes)
        return;
    try {
        trustServer(identityFilesOf(m_folder), server);
    } catch (const FileError& error) {
        MessageBoxes::show(this, errorMessage(error.what()));
        return;
    }
    startConnectionTest(fields());
}

} // namespace quenmark
