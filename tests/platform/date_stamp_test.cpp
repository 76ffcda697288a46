#include "platform/date_stamp.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace quenmark {

// SOURCE_DATE_EPOCH stands in for the clock: 1800000307 is 15 January 2027,
// 08:05:07 UTC (the hours keep their leading zero, no seconds), 1800050700 is
// 22:05 that day. Unset or no number: the clock. (No other test here reads it.)
TEST(SystemClock, StampsTheSourceDateEpochOrTheClock) {
    const auto stampOf = [](const QDateTime& t) {
        return QLocale::system().toString(t.date(), QLocale::LongFormat).toLatin1().toStdString() +
               " at " + t.toString("HH:mm").toStdString();
    };
    const auto utc = [](int hour) {
        return QDateTime(QDate(2027, 1, 15), QTime(hour, 5), QTimeZone::utc());
    };
    const std::pair<const char*, std::optional<QDateTime>> cases[] = {
        {"1800000307", utc(8)}, {"1800050700", utc(22)}, {nullptr, {}}, {"soon", {}}};
    for (const auto& [epoch, moment] : cases) {
        SCOPED_TRACE(epoch ? epoch : "unset");
        epoch ? ::setenv("SOURCE_DATE_EPOCH", epoch, 1) : ::unsetenv("SOURCE_DATE_EPOCH");
        const QDateTime before = QDateTime::currentDateTime();
        const std::string stamp = SystemClock().dateStamp();
        const QDateTime after = QDateTime::currentDateTime();
        if (moment)
            EXPECT_EQ(stamp, stampOf(*moment));
        else
            EXPECT_TRUE(stamp == stampOf(before) || stamp == stampOf(after)) << stamp;
    }
}

} // namespace quenmark
