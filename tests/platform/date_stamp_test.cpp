#include "platform/date_stamp.h"

#include <QDateTime>
#include <QLocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace quenmark {

namespace {

// No other test of this program reads the variable, so none needs it back.
void setEpoch(const char* value) {
    value ? ::setenv("SOURCE_DATE_EPOCH", value, 1) : ::unsetenv("SOURCE_DATE_EPOCH");
}

std::string longDate(QDate date) {
    return QLocale::system().toString(date, QLocale::LongFormat).toLatin1().toStdString();
}

// 1800000307 s after 1970 is 15 January 2027, 08:05:07 UTC: the hours keep
// their leading zero, the seconds are not shown; 1800050700 is 22:05 that day.
TEST(SystemClock, SourceDateEpochStandsInForTheClock) {
    for (auto [epoch, time] : {std::pair("1800000307", " at 08:05"), {"1800050700", " at 22:05"}}) {
        setEpoch(epoch);
        EXPECT_EQ(SystemClock().dateStamp(), longDate(QDate(2027, 1, 15)) + time);
    }
}

// Without the variable, or with a value that is no number, the clock is read.
TEST(SystemClock, ReadsTheClockOtherwise) {
    for (const char* value : {static_cast<const char*>(nullptr), "soon"}) {
        setEpoch(value);
        const QDateTime before = QDateTime::currentDateTime();
        const std::string stamp = SystemClock().dateStamp();
        const QDateTime after = QDateTime::currentDateTime();
        const auto stampOf = [](const QDateTime& t) {
            return longDate(t.date()) + " at " + t.toString("HH:mm").toStdString();
        };
        EXPECT_TRUE(stamp == stampOf(before) || stamp == stampOf(after)) << stamp;
    }
}

} // namespace

} // namespace quenmark
