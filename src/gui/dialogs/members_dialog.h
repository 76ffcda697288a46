#pragma once

#include "gui/dialogs/member_windows.h"

#include <QDialog>
#include <filesystem>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quenmark {

class MemberFields;
class MemberSequence;

// The operator's editor of the roster: lists every member of roster.txt and
// banned.txt, shows and saves one member's details, deletes members, and opens
// the New Member, Search and Enforced Times windows. It keeps no member data
// between operations: each one reads the files afresh.
class MembersDialog : public QDialog {
    Q_OBJECT

public:
    // windows: where the New Member, Search and Enforced Times windows are kept.
    MembersDialog(std::filesystem::path mainFolder, MemberWindows& windows,
                  QWidget* parent = nullptr);

    // Opening: sorts both files and fills the list. False when the window must
    // not open; a missing file has then also asked for the program to end.
    bool openFiles();

    const std::filesystem::path& mainFolder() const { return m_folder; }
    int activeCount() const { return m_activeCount; }
    // The name of the selected list entry as file text, none when nothing is selected.
    std::optional<std::string> selectedName() const;

    // For the Search window: select the member at the position and show him.
    void selectMember(int position);
    // For the New Member window: the new name goes after the last active member;
    // the selection stays where it was.
    void insertNewMember(const std::string& name);

signals:
    // A member file is missing at opening: the whole program ends.
    void programEndRequested();

private slots:
    void selectionChanged();
    void saveClicked();
    void deleteClicked();
    void openNewMember();
    void openSearch();
    void openEnforcedTimes();

private:
    void buildControls();
    int selectedRow() const;
    void showSelected();
    // The files' member sequence when its member at the row still carries the
    // name the list shows there; otherwise the operator has been told (and the
    // list read again when the files changed).
    std::optional<MemberSequence> sequenceHolding(int row);
    void fillList(const MemberSequence& sequence);
    void setActiveCount(int count);
    void clearFields();
    void showInvalidBox(std::optional<bool> ticked, const QString& note);
    bool invalidTickedForSave(const std::string& storedName) const;
    // The windows this one opens outlive it, so they belong to its owner.
    QWidget* windowOwner() const { return parentWidget(); }
    void adoptOpenWindows();
    void addListEntry(int row, const std::string& name, bool banned);
    void fitListToNames();

    std::filesystem::path m_folder;
    int m_activeCount = 0;

    QLabel* m_lblNo = nullptr;
    QListWidget* m_lstMembers = nullptr;
    MemberFields* m_fields = nullptr;
    QComboBox* m_cboStatus = nullptr;
    QCheckBox* m_chkInvalid = nullptr;
    QLabel* m_lblInvalidNote = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdNew = nullptr;
    QPushButton* m_cmdDelete = nullptr;
    QPushButton* m_cmdSearch = nullptr;
    QPushButton* m_cmdCustomTimes = nullptr;
    QPushButton* m_cmdDone = nullptr;

    MemberWindows& m_windows;
};

} // namespace quenmark
