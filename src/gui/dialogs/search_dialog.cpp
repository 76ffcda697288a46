#include "gui/dialogs/search_dialog.h"

#include "core/files/members_file.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"
#include "gui/one_line_field.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenmark {

SearchDialog::SearchDialog(std::filesystem::path mainFolder, MembersDialog* members,
                           QWidget* parent)
    : QDialog(parent), m_folder(std::move(mainFolder)), m_members(members) {
    buildControls();
}

void SearchDialog::buildControls() {
    setWindowTitle("Updater - Search Members");

    m_txtName = oneLineField("txtName");
    m_txtName->setMinimumWidth(220);
    m_cmdSearch = new QPushButton("&Search");
    m_cmdSearch->setObjectName("cmdSearch");
    m_cmdSearch->setDefault(true);
    m_cmdCancel = new QPushButton("&Cancel");
    m_cmdCancel->setObjectName("cmdCancel");
    m_cmdCancel->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow("&Name:", m_txtName);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSearch);
    buttons->addWidget(m_cmdCancel);
    auto* window = new QVBoxLayout(this);
    window->addLayout(fields);
    window->addLayout(buttons);

    setTabOrder(m_txtName, m_cmdSearch);
    setTabOrder(m_cmdSearch, m_cmdCancel);

    connect(m_cmdSearch, &QPushButton::clicked, this, &SearchDialog::searchClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void SearchDialog::searchClicked() {
    // With the Members window closed there is no list to select in.
    if (!m_members) {
        close();
        return;
    }
    if (m_txtName->text().isEmpty()) {
        MessageBoxes::show(this, "No name", "You must enter a name.", MessageIcon::Information);
        return;
    }
    const MemberSequenceRead read = readMemberSequence(m_folder);
    if (read.problem) {
        MessageBoxes::show(this, *read.problem);
        return;
    }
    const std::optional<std::size_t> found = read.sequence.findName(toBytes(m_txtName->text()));
    if (!found) {
        MessageBoxes::show(this, "Not Found", "Member not found. Please check your spelling.",
                           MessageIcon::Information);
        return;
    }
    const QPointer<MembersDialog> members = m_members;
    close();
    members->selectMember(static_cast<int>(*found));
}

} // namespace quenmark
