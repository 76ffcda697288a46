#pragma once

#include <QDialog>
#include <QPointer>
#include <filesystem>

class QCheckBox;
class QPushButton;

namespace quenmark {

class MemberFields;
class MembersDialog;

// Adds one active member at the end of roster.txt and puts his name into the
// Members window's list, when that window is still open.
class NewMemberDialog : public QDialog {
    Q_OBJECT

public:
    NewMemberDialog(std::filesystem::path mainFolder, MembersDialog* members,
                    QWidget* parent = nullptr);

    const std::filesystem::path& mainFolder() const { return m_folder; }
    void setMembersWindow(MembersDialog* members) { m_members = members; }

private slots:
    void addClicked();

private:
    void buildControls();

    std::filesystem::path m_folder;
    QPointer<MembersDialog> m_members;
    MemberFields* m_fields = nullptr;
    QCheckBox* m_chkInvalid = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace quenmark
