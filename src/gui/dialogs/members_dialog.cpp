#include "gui/dialogs/members_dialog.h"

#include "core/files/members_file.h"
#include "core/model/text_file.h"
#include "gui/dialogs/enforced_times_dialog.h"
#include "gui/dialogs/member_fields.h"
#include "gui/dialogs/new_member_dialog.h"
#include "gui/dialogs/search_dialog.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace quenmark {

namespace {

QPushButton* button(const char* name, const char* caption) {
    auto* b = named(new QPushButton(caption), name);
    // Enter in a detail field must not press a button behind the operator's back.
    b->setAutoDefault(false);
    return b;
}

} // namespace

MembersDialog::MembersDialog(std::filesystem::path mainFolder, MemberWindows& windows,
                             QWidget* parent)
    : QDialog(parent), m_folder(std::move(mainFolder)), m_windows(windows) {
    buildControls();
}

void MembersDialog::buildControls() {
    setWindowTitle("Updater - Members");

    auto* warning = named(new QLabel("Choosing another person in the Members list will erase any "
                                     "changes you made to the members' details unless you click "
                                     "the Save button."),
                          "Label9");
    warning->setWordWrap(true);

    m_lstMembers = named(new QListWidget, "lstMembers");
    m_lstMembers->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstMembers->setMinimumWidth(190);
    auto* membersCaption = new QLabel("Mem&bers:");
    membersCaption->setBuddy(m_lstMembers);

    m_lblNo = named(new QLabel("0"), "lblNo");
    m_lblNo->setToolTip("Active members");
    m_fields = new MemberFields;
    m_cboStatus = named(new QComboBox, "cboStatus");
    m_cboStatus->addItems({"Active", "Banned!"});
    m_chkInvalid = named(new QCheckBox("In&valid Character"), "chkInvalid");
    m_lblInvalidNote = named(new QLabel, "lblInvalidNote");
    m_lblInvalidNote->setWordWrap(true);
    m_lblInvalidNote->hide();

    m_cmdSave = button("cmdSave", "&Save");
    m_cmdSearch = button("cmdSearch", "Sea&rch...");
    m_cmdNew = button("cmdNew", "Ne&w Member");
    m_cmdDelete = button("cmdDelete", "&Delete Member");
    m_cmdCustomTimes = button("cmdCustomTimes", "&Enforced Times");
    m_cmdDone = button("cmdDone", "D&one");

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(membersCaption);
    listColumn->addWidget(m_lstMembers, 1);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_cboStatus);
    statusRow->addWidget(m_cmdSave);
    statusRow->addStretch();

    QFormLayout* details = m_fields->form();
    details->insertRow(0, "Active members:", m_lblNo);
    auto* statusCaption = new QLabel("S&tatus:");
    statusCaption->setBuddy(m_cboStatus);
    details->addRow(statusCaption, statusRow);
    details->addRow("", m_chkInvalid);
    details->addRow("", m_lblInvalidNote);

    auto* detailColumn = new QVBoxLayout;
    detailColumn->addWidget(m_fields);
    detailColumn->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn, 1);
    middle->addSpacing(12);
    middle->addLayout(detailColumn, 2);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_cmdSearch, m_cmdNew, m_cmdDelete, m_cmdCustomTimes})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_cmdDone);

    auto* window = new QVBoxLayout(this);
    window->addWidget(warning);
    window->addSpacing(6);
    window->addLayout(middle, 1);
    window->addLayout(buttons);

    chainTabOrder(QList<QWidget*>{m_lstMembers} + m_fields->fields() +
                  QList<QWidget*>{m_cboStatus, m_cmdSave, m_chkInvalid, m_cmdSearch, m_cmdNew,
                                  m_cmdDelete, m_cmdCustomTimes, m_cmdDone});

    connect(m_lstMembers, &QListWidget::itemSelectionChanged, this,
            &MembersDialog::selectionChanged);
    connect(m_cmdSave, &QPushButton::clicked, this, &MembersDialog::saveClicked);
    connect(m_cmdDelete, &QPushButton::clicked, this, &MembersDialog::deleteClicked);
    connect(m_cmdNew, &QPushButton::clicked, this, &MembersDialog::openNewMember);
    connect(m_cmdSearch, &QPushButton::clicked, this, &MembersDialog::openSearch);
    connect(m_cmdCustomTimes, &QPushButton::clicked, this, &MembersDialog::openEnforcedTimes);
    connect(m_cmdDone, &QPushButton::clicked, this, &QWidget::close);
}

bool MembersDialog::openFiles() {
    MemberSequenceRead read;
    try {
        read = sortMemberFiles(m_folder);
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error);
        return false;
    }
    if (read.problem) {
        MessageBoxes::show(this, *read.problem);
        if (read.missing)
            emit programEndRequested();
        return false;
    }
    fillList(read.sequence);
    if (m_lstMembers->count() > 0)
        selectMember(0);
    adoptOpenWindows();
    return true;
}

void MembersDialog::adoptOpenWindows() {
    // A New Member or Search window left by an earlier Members window reports
    // to this one from now on, so a new member still reaches the list.
    if (NewMemberDialog* newMember = m_windows.newMember.window())
        newMember->setMembersWindow(this);
    if (SearchDialog* search = m_windows.search.window())
        search->setMembersWindow(this);
}

std::optional<std::string> MembersDialog::selectedName() const {
    const int row = selectedRow();
    if (row < 0)
        return std::nullopt;
    return toBytes(m_lstMembers->item(row)->data(Qt::UserRole).toString());
}

int MembersDialog::selectedRow() const {
    const QList<QListWidgetItem*> selected = m_lstMembers->selectedItems();
    return selected.isEmpty() ? -1 : m_lstMembers->row(selected.front());
}

void MembersDialog::selectMember(int position) {
    if (position < 0 || position >= m_lstMembers->count())
        return;
    {
        const QSignalBlocker quiet(m_lstMembers);
        m_lstMembers->setCurrentRow(position);
    }
    showSelected();
}

void MembersDialog::selectionChanged() {
    showSelected();
}

void MembersDialog::showSelected() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::optional<MemberSequence> sequence = sequenceHolding(row);
    if (!sequence)
        return;
    setActiveCount(static_cast<int>(sequence->activeCount()));
    const MemberRecord& member = sequence->at(static_cast<std::size_t>(row));
    m_fields->showRecord(member);
    const bool banned = sequence->statusAt(static_cast<std::size_t>(row)) == MemberStatus::Banned;
    m_cboStatus->setCurrentIndex(banned ? 1 : 0);
    std::optional<bool> invalid;
    QString note;
    try {
        invalid = hasInvalidNameLine(m_folder, member.Name);
    } catch (const FileError& error) {
        note = fromBytes(error.what()) + " The box is left as it is on file.";
    }
    showInvalidBox(invalid, note);
}

// A box whose file could not be read shows no state and cannot be changed, so
// Save cannot write a number away that it never saw.
void MembersDialog::showInvalidBox(std::optional<bool> ticked, const QString& note) {
    m_chkInvalid->setEnabled(ticked.has_value());
    m_chkInvalid->setChecked(ticked.value_or(false));
    m_lblInvalidNote->setText(note);
    m_lblInvalidNote->setVisible(!note.isEmpty());
}

// Save's view of the box: as shown, or when it could not be shown, what the
// file holds now for the member's stored name, so his entry stays as it is.
bool MembersDialog::invalidTickedForSave(const std::string& storedName) const {
    if (m_chkInvalid->isEnabled())
        return m_chkInvalid->isChecked();
    const std::vector<InvalidNameEntry> entries = readInvalidNameEntries(m_folder);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const InvalidNameEntry& entry) { return entry.name == storedName; });
}

std::optional<MemberSequence> MembersDialog::sequenceHolding(int row) {
    MemberSequenceRead read = readMemberSequence(m_folder);
    if (read.problem) {
        MessageBoxes::show(this, *read.problem);
        return std::nullopt;
    }
    // The row must still hold the member the list shows there: acting on
    // whoever stands there now would overwrite or delete another member.
    const std::string shownName = toBytes(m_lstMembers->item(row)->data(Qt::UserRole).toString());
    if (static_cast<std::size_t>(row) >= read.sequence.size() ||
        read.sequence.at(static_cast<std::size_t>(row)).Name != shownName) {
        fillList(read.sequence);
        MessageBoxes::show(this, "Error", "The member files changed; the list was read again.",
                           MessageIcon::Exclamation);
        return std::nullopt;
    }
    return std::move(read.sequence);
}

void MembersDialog::fillList(const MemberSequence& sequence) {
    {
        const QSignalBlocker quiet(m_lstMembers);
        m_lstMembers->clear();
        int row = 0;
        for (const std::string& name : sequence.names()) {
            addListEntry(row, name,
                         sequence.statusAt(static_cast<std::size_t>(row)) == MemberStatus::Banned);
            ++row;
        }
    }
    fitListToNames();
    setActiveCount(static_cast<int>(sequence.activeCount()));
}

// The entry shows the name, and for a banned member says so in grey; the name
// itself rides along as the entry's data.
void MembersDialog::addListEntry(int row, const std::string& name, bool banned) {
    const QString shown = fromBytes(name);
    auto* item = new QListWidgetItem(banned ? shown + " (banned)" : shown);
    item->setData(Qt::UserRole, shown);
    item->setToolTip(item->text());
    if (banned)
        item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    m_lstMembers->insertItem(row, item);
}

// Long names are shown whole: the list widens to its longest entry, up to a
// width that leaves the details room (a longer one scrolls, its tip shows it).
void MembersDialog::fitListToNames() {
    constexpr int kNarrowest = 190;
    constexpr int kWidest = 480;
    const int wanted = m_lstMembers->sizeHintForColumn(0) + 2 * m_lstMembers->frameWidth() +
                       m_lstMembers->verticalScrollBar()->sizeHint().width() + 8;
    m_lstMembers->setMinimumWidth(std::clamp(wanted, kNarrowest, kWidest));
}

void MembersDialog::setActiveCount(int count) {
    m_activeCount = count;
    m_lblNo->setText(QString::number(count));
}

void MembersDialog::clearFields() {
    m_fields->clear();
    m_cboStatus->setCurrentIndex(0);
}

void MembersDialog::saveClicked() {
    const int row = selectedRow();
    if (row < 0) {
        // Right after a deletion the fields belong to no record.
        MessageBoxes::show(this, "Cannot save member", "Choose a member in the list first.",
                           MessageIcon::Information);
        return;
    }
    std::optional<MemberSequence> sequence = sequenceHolding(row);
    if (!sequence)
        return;
    const MemberStatus status =
        m_cboStatus->currentIndex() == 1 ? MemberStatus::Banned : MemberStatus::Active;
    const auto position = static_cast<std::size_t>(row);
    try {
        saveMember(m_folder, *sequence, position, m_fields->record(), status,
                   invalidTickedForSave(sequence->at(position).Name));
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error); // the typed fields stay for another try
        return;
    }

    const MemberSequenceRead read = readMemberSequence(m_folder);
    if (read.problem) {
        MessageBoxes::show(this, *read.problem);
        return;
    }
    fillList(read.sequence);
    selectMember(0);
}

void MembersDialog::deleteClicked() {
    const int row = selectedRow();
    if (row < 0) {
        MessageBoxes::show(this, "Cannot delete member", "You have no members to delete!",
                           MessageIcon::Information);
        return;
    }
    std::optional<MemberSequence> sequence = sequenceHolding(row);
    if (!sequence)
        return;
    const QString name = fromBytes(sequence->at(static_cast<std::size_t>(row)).Name);
    const auto answer = MessageBoxes::show(
        this, "Delete?", "All saved data for " + name + " will be lost.\nAre you sure?",
        MessageIcon::Question, MessageBoxes::Buttons::YesNo);
    if (answer != MessageBoxes::Answer::Yes)
        return;
    try {
        deleteMember(m_folder, *sequence, static_cast<std::size_t>(row));
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error);
        return;
    }
    {
        const QSignalBlocker quiet(m_lstMembers);
        delete m_lstMembers->takeItem(row);
        m_lstMembers->setCurrentRow(-1);
        m_lstMembers->clearSelection();
    }
    clearFields();
    setActiveCount(static_cast<int>(sequence->activeCount()));
}

void MembersDialog::insertNewMember(const std::string& name) {
    {
        const QSignalBlocker quiet(m_lstMembers);
        addListEntry(m_activeCount, name, false);
    }
    fitListToNames();
    setActiveCount(m_activeCount + 1);
}

void MembersDialog::openNewMember() {
    m_windows.newMember.show([this] { return new NewMemberDialog(m_folder, this, windowOwner()); });
}

void MembersDialog::openSearch() {
    m_windows.search.show([this] { return new SearchDialog(m_folder, this, windowOwner()); });
}

void MembersDialog::openEnforcedTimes() {
    m_windows.enforcedTimes.show([this]() -> EnforcedTimesDialog* {
        const std::optional<std::string> name = selectedName();
        if (!name) {
            MessageBoxes::show(this, "Enforced Times", "Choose a member in the list first.",
                               MessageIcon::Information);
            return nullptr;
        }
        return new EnforcedTimesDialog(m_folder, *name, windowOwner());
    });
}

} // namespace quenmark
