#include "meeting/DateText.h"

#include <optional>
#include <stdexcept>
#include <utility>

namespace meeting {

namespace {

std::optional<QLocale> gLocale;

// Rewrites the unquoted fields of a Qt date/time format: f receives each run
// of one pattern letter and returns its replacement.
template <class F> QString rewriteFields(const QString& format, F f)
{
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {  // a quoted literal passes through whole
            const qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? format.size() : end + 1;
            out += format.mid(i, stop - i);
            i = stop;
            continue;
        }
        qsizetype j = i;
        while (j < format.size() && format.at(j) == c)
            ++j;
        out += c.isLetter() ? f(format.mid(i, j - i), out) : format.mid(i, j - i);
        i = j;
    }
    return out;
}

}  // namespace

QLocale regionalLocale() { return gLocale.value_or(QLocale::system()); }
std::optional<QLocale> setRegionalLocale(std::optional<QLocale> locale)
{
    return std::exchange(gLocale, std::move(locale));
}

QString shortDateFormat(const QLocale& locale)
{
    return rewriteFields(locale.dateFormat(QLocale::ShortFormat), [](const QString& run, QString&) {
        return run.startsWith(QLatin1Char('y')) ? QStringLiteral("yyyy") : run;
    });
}

QString longTimeFormat(const QLocale& locale)
{
    // The time-zone name is dropped: the stored time is a wall-clock time, and
    // zone names do not read back reliably.
    return rewriteFields(locale.timeFormat(QLocale::LongFormat),
                         [](const QString& run, QString& out) {
                             if (!run.startsWith(QLatin1Char('t')))
                                 return run;
                             while (!out.isEmpty() && out.back().isSpace())
                                 out.chop(1);
                             return QString();
                         })
        .trimmed();
}

QString dateToText(const QDateTime& value, const QLocale& locale)
{
    const QString date = locale.toString(value.date(), shortDateFormat(locale));
    const QTime t = value.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + QLatin1Char(' ') + locale.toString(QTime(t.hour(), t.minute(), t.second()), longTimeFormat(locale));
}

QString quotedInMessage(const QString& text)
{
    constexpr qsizetype kLongest = 60;
    if (text.size() <= kLongest)
        return text;
    const qsizetype cut = text.at(kLongest - 1).isHighSurrogate() ? kLongest - 1 : kLongest;
    return text.left(cut) + QStringLiteral("...");
}

QDateTime textToDate(const QString& text, const QLocale& locale)
{
    const QString dateFormat = shortDateFormat(locale);
    const QString timeFormat = longTimeFormat(locale);
    const QString s = text.trimmed();
    // Date and time are read apart, so that no daylight-saving gap of the
    // local zone can make a stored wall-clock time unreadable. A short date
    // may itself hold blanks, so every blank is tried as the separator.
    QDate date = locale.toDate(s, dateFormat);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    for (qsizetype i = s.indexOf(QLatin1Char(' ')); i > 0; i = s.indexOf(QLatin1Char(' '), i + 1)) {
        date = locale.toDate(s.left(i), dateFormat);
        const QTime time = locale.toTime(s.mid(i + 1).trimmed(), timeFormat);
        if (date.isValid() && time.isValid())
            return QDateTime(date, time, Qt::UTC);
    }
    throw std::runtime_error(
        QStringLiteral("Type mismatch: the stored text '%1' is not a date in the regional format (%2 %3)")
            .arg(quotedInMessage(text), dateFormat, timeFormat)
            .toStdString());
}

}  // namespace meeting
