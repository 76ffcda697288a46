#include "platform/path_text.h"

#include <QByteArray>
#include <QFile>

namespace quenmark {

std::filesystem::path pathFromText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QString textFromPath(const std::filesystem::path& path) {
    const std::string& bytes = path.native();
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace quenmark
