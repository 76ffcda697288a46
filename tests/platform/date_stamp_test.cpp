#include "platform/date_stamp.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>

namespace {

// Sets SOURCE_DATE_EPOCH for one test and puts back what was there.
class EpochVariable {
public:
    explicit EpochVariable(const char* value) {
        if (const char* old = std::getenv("SOURCE_DATE_EPOCH"))
            m_old = old;
        if (value)
            ::setenv("SOURCE_DATE_EPOCH", value, 1);
        else
            ::unsetenv("SOURCE_DATE_EPOCH");
    }
    ~EpochVariable() {
        if (m_old)
            ::setenv("SOURCE_DATE_EPOCH", m_old->c_str(), 1);
        else
            ::unsetenv("SOURCE_DATE_EPOCH");
    }

private:
    std::optional<std::string> m_old;
};

std::string longDate(QDate date) {
    return QLocale::system().toString(date, QLocale::LongFormat).toLatin1().toStdString();
}

// 1800000307 s after 1970 is 15 January 2027, 08:05:07 UTC: the hours keep
// their leading zero and the seconds are not shown.
TEST(SystemClock, SourceDateEpochStandsInForTheClock) {
    EpochVariable epoch("1800000307");
    SystemClock clock;
    EXPECT_EQ(clock.dateStamp(), longDate(QDate(2027, 1, 15)) + " at 08:05");
    EXPECT_NE(clock.dateStamp().find("2027"), std::string::npos);
}

TEST(SystemClock, AfternoonOnTheTwentyFourHourClock) {
    EpochVariable epoch("1800050700"); // 15 January 2027, 22:05:00 UTC
    EXPECT_EQ(SystemClock().dateStamp(), longDate(QDate(2027, 1, 15)) + " at 22:05");
}

TEST(SystemClock, ReadsTheClockWithoutTheVariableOrWithAnOddValue) {
    for (const char* value : {static_cast<const char*>(nullptr), "soon"}) {
        EpochVariable epoch(value);
        const QDateTime before = QDateTime::currentDateTime();
        const std::string stamp = SystemClock().dateStamp();
        const QDateTime after = QDateTime::currentDateTime();
        const std::regex form(".+ at ([0-2][0-9]):([0-5][0-9])");
        std::smatch match;
        ASSERT_TRUE(std::regex_match(stamp, match, form)) << stamp;
        const int minutes = std::stoi(match[1]) * 60 + std::stoi(match[2]);
        const auto minuteOf = [](const QDateTime& t) {
            return t.time().hour() * 60 + t.time().minute();
        };
        EXPECT_TRUE(minutes == minuteOf(before) || minutes == minuteOf(after)) << stamp;
        EXPECT_TRUE(stamp.starts_with(longDate(before.date())) ||
                    stamp.starts_with(longDate(after.date())))
            << stamp;
    }
}

} // namespace
