#pragma once

#include <string>

namespace quenmark {

// What the system says to the operator in a message box.
enum class MessageIcon { None, Information, Exclamation, Critical, Question };

struct OperatorMessage {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const OperatorMessage&) const = default;
};

// A stop of the run with the file named in the message: title "Error", critical icon.
inline OperatorMessage errorMessage(std::string text) {
    return {"Error", std::move(text), MessageIcon::Critical};
}

} // namespace quenmark
