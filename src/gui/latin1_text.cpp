#include "gui/latin1_text.h"

namespace quenmark {

QString fromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text)
        bytes.push_back(c.unicode() <= 0xff ? static_cast<char>(c.unicode()) : '?');
    return bytes;
}

} // namespace quenmark
