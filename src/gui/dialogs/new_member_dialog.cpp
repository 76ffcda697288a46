#include "gui/dialogs/new_member_dialog.h"

#include "core/files/members_file.h"
#include "core/model/text_file.h"
#include "gui/dialogs/member_fields.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenmark {

NewMemberDialog::NewMemberDialog(std::filesystem::path mainFolder, MembersDialog* members,
                                 QWidget* parent)
    : QDialog(parent), m_folder(std::move(mainFolder)), m_members(members) {
    buildControls();
}

void NewMemberDialog::buildControls() {
    setWindowTitle("Updater - New Member");

    m_fields = new MemberFields;
    m_chkInvalid = named(new QCheckBox("In&valid character"), "chkInvalid");
    m_fields->form()->addRow("", m_chkInvalid);
    m_cmdAdd = named(new QPushButton("&Add"), "cmdAdd");
    m_cmdAdd->setDefault(true);
    m_cmdCancel = named(new QPushButton("&Cancel"), "cmdCancel");
    m_cmdCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdAdd);
    buttons->addWidget(m_cmdCancel);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_fields);
    window->addLayout(buttons);

    chainTabOrder(m_fields->fields() + QList<QWidget*>{m_chkInvalid, m_cmdAdd, m_cmdCancel});

    connect(m_cmdAdd, &QPushButton::clicked, this, &NewMemberDialog::addClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void NewMemberDialog::addClicked() {
    const MemberRecord fields = m_fields->record();
    try {
        addMember(m_folder, fields, m_chkInvalid->isChecked());
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error); // the fields stay for another try
        return;
    }
    // With the Members window closed meanwhile, the files alone hold the new member.
    if (m_members)
        m_members->insertNewMember(fields.Name);
    close();
}

} // namespace quenmark
