#pragma once

#include "core/files/settings_file.h"

#include <QDialog>
#include <filesystem>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quenmark {

struct ConnectionCheck;
class FtpLibrary;

// The operator's editor of settings.dat: reads the file when it opens (writing
// the defaults at once when the file is missing), writes it whole on OK. It
// also shows how many pages the window's runs fetch at once, which is kept in
// the user's settings, not in the main folder, and saved on OK too. Beside the
// account it says when the address is not encrypted, and Test connection tries
// the account as typed, offering to trust a server it does not know.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit SettingsDialog(std::filesystem::path mainFolder, QWidget* parent = nullptr);

    const std::filesystem::path& mainFolder() const { return m_folder; }
    // False when settings.dat could not be read: the operator has been told,
    // and the window must not open.
    bool loaded() const { return m_loaded; }

private slots:
    void directoryClicked(bool ticked);
    void okClicked();
    void serverChanged(const QString& text);
    void testConnectionClicked();

private:
    void buildControls();
    void load();
    void showSettings(const SiteSettings& settings);
    SiteSettings fields() const;
    bool save();
    void startConnectionTest(const SiteSettings& settings);
    void connectionTestEnded();
    void connectionTested(const ConnectionCheck& check);

    std::filesystem::path m_folder;
    bool m_loaded = true;
    QLineEdit* m_txtServer = nullptr;
    QLabel* m_lblEncryption = nullptr;
    QPushButton* m_cmdTestConnection = nullptr;
    std::shared_ptr<FtpLibrary> m_ftpLibrary; // shared with a test under way
    QLineEdit* m_txtUsername = nullptr;
    QLineEdit* m_txtPassword = nullptr;
    QLineEdit* m_txtPtColor = nullptr;
    QComboBox* m_cboPtMax = nullptr;
    QComboBox* m_cboPenalty = nullptr;
    QComboBox* m_cboAlign = nullptr;
    QCheckBox* m_chkDirectory = nullptr;
    QLineEdit* m_txtDirectory = nullptr;
    QSpinBox* m_spnJobs = nullptr;
    QCheckBox* m_chkElite = nullptr;
    QCheckBox* m_chkElite2 = nullptr;
    QCheckBox* m_chkStage = nullptr;
    QCheckBox* m_chkDiff = nullptr;
    QCheckBox* m_chkLeaders = nullptr;
    QCheckBox* m_chkRoster = nullptr;
    QCheckBox* m_chkPoints = nullptr;
    QCheckBox* m_chkTARVO = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace quenmark
