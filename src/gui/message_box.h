#pragma once

#include "core/model/operator_message.h"

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace quenmark {

// Every message box of the windows goes through here, so that tests can queue
// the answers they want and read back what was shown instead of a real box
// blocking the test.
class MessageBoxes {
public:
    // YesNoDefaultNo: Enter answers No, for a question whose Yes keeps a doubtful value.
    enum class Buttons { Ok, YesNo, YesNoDefaultNo };
    enum class Answer { Ok, Yes, No };

    struct Shown {
        QString title;
        QString text;
        MessageIcon icon;
        Buttons buttons;
    };

    // Shows a modal box and returns the button pressed; under test returns the
    // next queued answer (when none is queued: Ok, or the question's default).
    static Answer show(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                       Buttons buttons = Buttons::Ok);
    static Answer show(QWidget* parent, const OperatorMessage& message);

    // Test interface.
    static void setTestMode(bool on);
    static void setNextAnswer(Answer answer);
    static const std::vector<Shown>& shown();
    static void clearShown();
};

} // namespace quenmark
