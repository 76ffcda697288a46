#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quenmark {

// Sets, changes and removes the enforced times of the one member it was opened
// for, and lists every enforced time of the site.
class EnforcedTimesDialog : public QDialog {
    Q_OBJECT

public:
    EnforcedTimesDialog(std::filesystem::path mainFolder, std::string memberName,
                        QWidget* parent = nullptr);

    const std::filesystem::path& mainFolder() const { return m_folder; }

private slots:
    void cellChosen();
    void saveClicked();

private:
    void buildControls();
    void refreshList();

    std::filesystem::path m_folder;
    std::string m_memberName;
    // The chosen cell's time could not be read from times.dat.
    bool m_timeUnread = false;
    QLabel* m_lblName = nullptr;
    QComboBox* m_cboLevel = nullptr;
    QComboBox* m_cboDifficulty = nullptr;
    QLineEdit* m_txtTime = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdDone = nullptr;
    QLabel* m_lblInEffect = nullptr;
    QListWidget* m_lstCustomTimes = nullptr;
};

} // namespace quenmark
