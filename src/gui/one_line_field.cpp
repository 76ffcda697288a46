#include "gui/one_line_field.h"

#include "gui/widgets.h"

#include <QLineEdit>
#include <QValidator>
#include <limits>

namespace quenmark {

namespace {

class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        qsizetype kept = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c == u'\r' || c == u'\n') {
                if (i < position)
                    --position;
                continue;
            }
            input[kept++] = c;
        }
        input.truncate(kept);
        return Acceptable;
    }
};

} // namespace

QLineEdit* oneLineField(const char* name) {
    auto* field = named(new QLineEdit, name);
    field->setValidator(new OneLineValidator(field));
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

} // namespace quenmark
