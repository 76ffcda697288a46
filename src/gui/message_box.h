#pragma once

#include "core/model/operator_message.h"

#include <QString>
#include <deque>
#include <exception>
#include <functional>
#include <vector>

class QMessageBox;
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
    // The one way a window tells of a file it could not read or write: the
    // error's text (which names the file) under "Error", with a critical icon.
    static void showError(QWidget* parent, const std::exception& error);

    // A question that does not hold up the window: `answered` runs once the
    // operator has pressed a button. The open box is returned so its owner can
    // close it when the question no longer stands; `answered` then does not run.
    // Under test a queued answer is given at once (nullptr is returned), and
    // with none queued the box opens as it does for the operator.
    static QMessageBox* ask(QWidget* parent, const QString& title, const QString& text,
                            Buttons buttons, std::function<void(Answer)> answered);

    // Test interface.
    static void setTestMode(bool on);
    static void setNextAnswer(Answer answer);
    static const std::vector<Shown>& shown();
    static void clearShown();
};

} // namespace quenmark
