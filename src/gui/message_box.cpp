#include "gui/message_box.h"

#include "gui/latin1_text.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace quenmark {

namespace {

// The one piece of process-wide state the windows keep: the test switch and its
// queued answers, which exist only so tests can stand in for the operator.
struct TestState {
    bool on = false;
    std::deque<MessageBoxes::Answer> answers;
    std::vector<MessageBoxes::Shown> shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBoxes::Answer MessageBoxes::show(QWidget* parent, const QString& title, const QString& text,
                                        MessageIcon icon, Buttons buttons) {
    TestState& state = testState();
    if (state.on) {
        state.shown.push_back({title, text, icon, buttons});
        if (!state.answers.empty()) {
            const Answer answer = state.answers.front();
            state.answers.pop_front();
            return answer;
        }
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::No;
    }
    QMessageBox box(toQtIcon(icon), title, text,
                    buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No,
                    parent);
    if (buttons == Buttons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    const int pressed = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

MessageBoxes::Answer MessageBoxes::show(QWidget* parent, const OperatorMessage& message) {
    return show(parent, fromBytes(message.title), fromBytes(message.text), message.icon);
}

void MessageBoxes::showError(QWidget* parent, const std::exception& error) {
    show(parent, errorMessage(error.what()));
}

QMessageBox* MessageBoxes::ask(QWidget* parent, const QString& title, const QString& text,
                               Buttons buttons, std::function<void(Answer)> answered) {
    TestState& state = testState();
    if (state.on) {
        state.shown.push_back({title, text, MessageIcon::Question, buttons});
        if (!state.answers.empty()) {
            const Answer answer = state.answers.front();
            state.answers.pop_front();
            answered(answer);
            return nullptr;
        }
    }
    auto* box = new QMessageBox(QMessageBox::Question, title, text,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(buttons == Buttons::YesNoDefaultNo ? QMessageBox::No : QMessageBox::Yes);
    // Only a button pressed answers: a box closed by its owner says nothing.
    QObject::connect(box, &QMessageBox::buttonClicked, box,
                     [box, answered = std::move(answered)](QAbstractButton* button) {
                         answered(box->standardButton(button) == QMessageBox::Yes ? Answer::Yes
                                                                                  : Answer::No);
                     });
    box->open();
    return box;
}

void MessageBoxes::setTestMode(bool on) {
    testState().on = on;
}
void MessageBoxes::setNextAnswer(Answer answer) {
    testState().answers.push_back(answer);
}
const std::vector<MessageBoxes::Shown>& MessageBoxes::shown() {
    return testState().shown;
}
void MessageBoxes::clearShown() {
    testState().shown.clear();
    testState().answers.clear();
}

} // namespace quenmark
