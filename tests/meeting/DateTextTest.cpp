#include "meeting/DateText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>

using meeting::dateToText;
using meeting::textToDate;

namespace {
QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}
}  // namespace

class DateTextRoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(DateTextRoundTrip, EveryValueFrom1601To9999ComesBackUnchanged)
{
    const QLocale locale(QString::fromLatin1(GetParam()));
    const QDateTime values[] = {
        at(1601, 1, 1),         at(1601, 1, 1, 0, 0, 1), at(1899, 12, 30, 12, 0),      at(1999, 2, 28, 23, 59, 59),
        at(2026, 3, 8, 2, 30),  // a spring-forward gap in some zones
        at(2026, 12, 7, 13, 5), at(2026, 12, 7, 0, 5),   at(9999, 12, 31, 23, 59, 59),
    };
    for (const QDateTime& v : values) {
        const QString text = dateToText(v, locale);
        EXPECT_EQ(textToDate(text, locale), v) << GetParam() << ": " << text.toStdString();
    }
    // Midnight is the short date alone; a year is always written with four digits.
    const QString midnight = dateToText(at(1601, 5, 6), locale);
    EXPECT_TRUE(midnight.contains(locale.toString(QDate(1601, 5, 6), QStringLiteral("yyyy"))))
        << midnight.toStdString();
    EXPECT_EQ(midnight, locale.toString(QDate(1601, 5, 6), meeting::shortDateFormat(locale)));
    EXPECT_GT(dateToText(at(1601, 5, 6, 0, 0, 1), locale).size(), midnight.size());
}

INSTANTIATE_TEST_SUITE_P(Locales, DateTextRoundTrip, testing::Values("en_US", "de_DE", "fr_FR", "ja_JP", "ar_EG", "C"));

TEST(DateText, AnythingElseIsATypeMismatchThatQuotesTheText)
{
    const QLocale us(QStringLiteral("en_US"));
    const QString laugh = QStringLiteral("\U0001F602");
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("next Tuesday"), QStringLiteral("next Tuesday")},
        {QStringLiteral("13/45/2026"), QStringLiteral("13/45/2026")},
        {QString(), QString()},
        {QStringLiteral("12/7/2026 25:00:00 PM"), QStringLiteral("12/7/2026 25:00:00 PM")},
        // A long text is quoted in part, cut between characters.
        {QString(59, u'a') + laugh + QStringLiteral("tail"), QString(59, u'a') + QStringLiteral("...")},
        {QString(58, u'a') + laugh + QStringLiteral("tail"), QString(58, u'a') + laugh + QStringLiteral("...")},
    };
    for (const auto& [bad, quoted] : cases) {
        try {
            textToDate(bad, us);
            ADD_FAILURE() << "accepted " << bad.toStdString();
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(
                QStringLiteral("Type mismatch: the stored text '%1'").arg(quoted)))
                << e.what();
        }
    }
}

TEST(DateText, TheFormatsKeepTheLocalesOrderButAFourDigitYearAndNoZone)
{
    EXPECT_EQ(meeting::shortDateFormat(QLocale(QStringLiteral("en_US"))), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(meeting::shortDateFormat(QLocale(QStringLiteral("de_DE"))), QStringLiteral("dd.MM.yyyy"));
    EXPECT_FALSE(meeting::longTimeFormat(QLocale(QStringLiteral("en_US"))).contains(QLatin1Char('t')));
}
