#pragma once

#include "core/model/member_record.h"

#include <QWidget>

class QFormLayout;
class QLineEdit;

namespace quenmark {

// The five fields of a member's record, as the Members and New Member windows
// show them: txtName, txtInitials (two characters to type), txtColor, txtPage
// and txtEmail, each under its label with its Alt letter. A window adds its
// own rows to form(), so they line up with these.
class MemberFields : public QWidget {
    Q_OBJECT

public:
    explicit MemberFields(QWidget* parent = nullptr);

    QFormLayout* form() const { return m_form; }
    // The fields in tab order.
    QList<QWidget*> fields() const;

    // The five texts as file bytes; the other fields of the record stay empty.
    MemberRecord record() const;
    void showRecord(const MemberRecord& member);
    void clear();

private:
    QFormLayout* m_form = nullptr;
    QLineEdit* m_txtName = nullptr;
    QLineEdit* m_txtInitials = nullptr;
    QLineEdit* m_txtColor = nullptr;
    QLineEdit* m_txtPage = nullptr;
    QLineEdit* m_txtEmail = nullptr;
};

} // namespace quenmark
