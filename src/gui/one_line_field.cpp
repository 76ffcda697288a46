#include "gui/one_line_field.h"

#include "gui/widgets.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>
#include <limits>

namespace quenmark {

namespace {

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Each run of CR and LF becomes one blank, so pasted lines keep their words
// apart; at either end of the text a run goes, as a copied line often ends
// with one.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        QString kept;
        kept.reserve(input.size());
        int keptPosition = position;
        for (qsizetype i = 0; i < input.size();) {
            if (!isLineBreak(input[i])) {
                kept.append(input[i++]);
                continue;
            }
            const qsizetype start = i;
            while (i < input.size() && isLineBreak(input[i]))
                ++i;
            const bool inside = start > 0 && i < input.size();
            if (inside)
                kept.append(u' ');
            // The cursor keeps its place in the text around it.
            if (position > start)
                keptPosition -= static_cast<int>(std::min<qsizetype>(position, i) - start) -
                                (inside && position >= i ? 1 : 0);
        }
        input = kept;
        position = keptPosition;
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
