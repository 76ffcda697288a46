#include "platform/date_stamp.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>
#include <QTimeZone>
#include <cstdlib>

namespace quenmark {

namespace {

// A value that is not a whole number is ignored rather than stamping every page
// with the start of 1970.
QDateTime stampMoment() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        bool ok = false;
        const qint64 seconds = QByteArray(epoch).trimmed().toLongLong(&ok);
        if (ok)
            return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    }
    return QDateTime::currentDateTime();
}

} // namespace

std::string SystemClock::dateStamp() {
    const QDateTime moment = stampMoment();
    const QString text = QLocale::system().toString(moment.date(), QLocale::LongFormat) + " at " +
                         moment.time().toString(QStringLiteral("HH:mm"));
    // Pages are 8-bit text; a character outside Latin-1 becomes "?".
    return text.toLatin1().toStdString();
}

std::string SystemClock::timeOfDay() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm")).toStdString();
}

} // namespace quenmark
