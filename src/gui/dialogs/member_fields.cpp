#include "gui/dialogs/member_fields.h"

#include "gui/latin1_text.h"
#include "gui/one_line_field.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace quenmark {

namespace {

constexpr int kInitialsLength = 2;

} // namespace

MemberFields::MemberFields(QWidget* parent) : QWidget(parent) {
    m_txtName = oneLineField("txtName");
    m_txtInitials = oneLineField("txtInitials");
    m_txtInitials->setMaxLength(kInitialsLength);
    m_txtInitials->setMaximumWidth(60);
    m_txtColor = oneLineField("txtColor");
    m_txtPage = oneLineField("txtPage");
    m_txtEmail = oneLineField("txtEmail");
    for (QLineEdit* field : {m_txtName, m_txtColor, m_txtPage, m_txtEmail})
        field->setMinimumWidth(260);

    m_form = new QFormLayout(this);
    m_form->setContentsMargins(0, 0, 0, 0);
    m_form->addRow("&Name:", m_txtName);
    m_form->addRow("&Initials:", m_txtInitials);
    m_form->addRow("Co&lor:", m_txtColor);
    m_form->addRow("&Page:", m_txtPage);
    m_form->addRow("E&mail:", m_txtEmail);
}

QList<QWidget*> MemberFields::fields() const {
    return {m_txtName, m_txtInitials, m_txtColor, m_txtPage, m_txtEmail};
}

MemberRecord MemberFields::record() const {
    MemberRecord member;
    member.Name = toBytes(m_txtName->text());
    member.Initials = toBytes(m_txtInitials->text());
    member.Color = toBytes(m_txtColor->text());
    member.Page = toBytes(m_txtPage->text());
    member.Email = toBytes(m_txtEmail->text());
    return member;
}

void MemberFields::showRecord(const MemberRecord& member) {
    m_txtName->setText(fromBytes(member.Name));
    // Longer initials already on file are shown whole, not cut to the typing limit.
    const QString initials = fromBytes(member.Initials);
    m_txtInitials->setMaxLength(std::max<int>(kInitialsLength, static_cast<int>(initials.size())));
    m_txtInitials->setText(initials);
    m_txtColor->setText(fromBytes(member.Color));
    m_txtPage->setText(fromBytes(member.Page));
    m_txtEmail->setText(fromBytes(member.Email));
}

void MemberFields::clear() {
    for (QLineEdit* field : {m_txtName, m_txtInitials, m_txtColor, m_txtPage, m_txtEmail})
        field->clear();
    m_txtInitials->setMaxLength(kInitialsLength);
}

} // namespace quenmark
