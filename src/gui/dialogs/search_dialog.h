#pragma once

#include <QDialog>
#include <QPointer>
#include <filesystem>

class QLineEdit;
class QPushButton;

namespace quenmark {

class MembersDialog;

// Finds a member by his whole name, letter case aside, and selects him in the
// Members window.
class SearchDialog : public QDialog {
    Q_OBJECT

public:
    SearchDialog(std::filesystem::path mainFolder, MembersDialog* members,
                 QWidget* parent = nullptr);

    const std::filesystem::path& mainFolder() const { return m_folder; }
    void setMembersWindow(MembersDialog* members) { m_members = members; }

private slots:
    void searchClicked();

private:
    void buildControls();

    std::filesystem::path m_folder;
    QPointer<MembersDialog> m_members;
    QLineEdit* m_txtName = nullptr;
    QPushButton* m_cmdSearch = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace quenmark
