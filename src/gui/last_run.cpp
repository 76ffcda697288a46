#include "gui/last_run.h"

#include <QSettings>

namespace quenmark {

namespace {

constexpr const char* kStart = "Last run ";

// One entry per main folder, keyed by its path's bytes.
QString settingsKey(const std::filesystem::path& mainFolder, const char* field) {
    const QByteArray folder = QByteArray::fromStdString(mainFolder.string()).toPercentEncoding();
    return QString("lastRun/%1/%2").arg(QString::fromLatin1(folder), field);
}

} // namespace

void keepLastRun(const std::filesystem::path& mainFolder, const QString& summary, QDate day) {
    QSettings settings;
    settings.setValue(settingsKey(mainFolder, "summary"), summary);
    settings.setValue(settingsKey(mainFolder, "day"), day.toString(Qt::ISODate));
}

QString lastRunText(const std::filesystem::path& mainFolder, QDate today) {
    const QSettings settings;
    QString summary = settings.value(settingsKey(mainFolder, "summary")).toString();
    const QDate day =
        QDate::fromString(settings.value(settingsKey(mainFolder, "day")).toString(), Qt::ISODate);
    if (day.isValid() && day != today && summary.startsWith(kStart))
        summary.insert(static_cast<qsizetype>(qstrlen(kStart)), day.toString(Qt::ISODate) + ' ');
    return summary;
}

} // namespace quenmark
