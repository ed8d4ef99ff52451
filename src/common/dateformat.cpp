#include "common/numbers.h"

#include <QLocale>

#include <cstdlib>

namespace common {

QChar dateSeparatorOf(QStringView dateFormat)
{
    // Only a real separator counts: formats such as "d MMM yyyy" (the C
    // locale's) have none, and a blank would make dates hard to read.
    for (const QChar c : dateFormat) {
        if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.'))
            return c;
    }
    return QLatin1Char('/');
}

QChar systemDateSeparator()
{
    return dateSeparatorOf(QLocale::system().dateFormat(QLocale::ShortFormat));
}

QString formatDate(const QDate &date, QStringView pattern, QChar separator)
{
    if (!date.isValid())
        return {};
    const auto padded = [](int n, int width) {
        return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
    };
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QStringView rest = pattern.mid(i);
        if (rest.startsWith(u"yyyy", Qt::CaseInsensitive)) {
            out += padded(date.year(), 4);
            i += 4;
        } else if (rest.startsWith(u"yy", Qt::CaseInsensitive)) {
            out += padded(std::abs(date.year()) % 100, 2);
            i += 2;
        } else if (rest.startsWith(u"mm", Qt::CaseInsensitive)) {
            out += padded(date.month(), 2);
            i += 2;
        } else if (rest.startsWith(u"dd", Qt::CaseInsensitive)) {
            out += padded(date.day(), 2);
            i += 2;
        } else {
            out += rest.front() == QLatin1Char('/') ? separator : rest.front();
            ++i;
        }
    }
    return out;
}

} // namespace common
