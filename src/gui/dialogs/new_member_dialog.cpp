#include "gui/dialogs/new_member_dialog.h"

#include "core/files/members_file.h"
#include "core/model/text_file.h"
#include "gui/dialogs/members_dialog.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"
#include "gui/one_line_field.h"
#include "gui/widgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
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

    m_txtName = oneLineField("txtName");
    m_txtInitials = oneLineField("txtInitials");
    m_txtInitials->setMaxLength(2);
    m_txtInitials->setMaximumWidth(60);
    m_txtColor = oneLineField("txtColor");
    m_txtPage = oneLineField("txtPage");
    m_txtEmail = oneLineField("txtEmail");
    m_chkInvalid = named(new QCheckBox("Invalid character"), "chkInvalid");
    m_cmdAdd = named(new QPushButton("&Add"), "cmdAdd");
    m_cmdAdd->setDefault(true);
    m_cmdCancel = named(new QPushButton("&Cancel"), "cmdCancel");
    m_cmdCancel->setAutoDefault(false);
    for (QLineEdit* field : {m_txtName, m_txtColor, m_txtPage, m_txtEmail})
        field->setMinimumWidth(260);

    auto* fields = new QFormLayout;
    fields->addRow("Name:", m_txtName);
    fields->addRow("Initials:", m_txtInitials);
    fields->addRow("Color:", m_txtColor);
    fields->addRow("Page:", m_txtPage);
    fields->addRow("Email:", m_txtEmail);
    fields->addRow("", m_chkInvalid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdAdd);
    buttons->addWidget(m_cmdCancel);

    auto* window = new QVBoxLayout(this);
    window->addLayout(fields);
    window->addLayout(buttons);

    const QList<QWidget*> order = {m_txtName,  m_txtInitials, m_txtColor, m_txtPage,
                                   m_txtEmail, m_chkInvalid,  m_cmdAdd,   m_cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_cmdAdd, &QPushButton::clicked, this, &NewMemberDialog::addClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void NewMemberDialog::addClicked() {
    MemberRecord fields;
    fields.Name = toBytes(m_txtName->text());
    fields.Initials = toBytes(m_txtInitials->text());
    fields.Color = toBytes(m_txtColor->text());
    fields.Page = toBytes(m_txtPage->text());
    fields.Email = toBytes(m_txtEmail->text());
    try {
        addMember(m_folder, fields, m_chkInvalid->isChecked());
    } catch (const FileError& error) {
        MessageBoxes::show(this, errorMessage(error.what())); // the fields stay for another try
        return;
    }
    // With the Members window closed meanwhile, the files alone hold the new member.
    if (m_members)
        m_members->insertNewMember(fields.Name);
    close();
}

} // namespace quenmark
