#include "link/feeds.h"

#include "common/numbers.h"

namespace live {

QString graphFeedText(const QString &valueText)
{
    return common::numberText(common::leadingDecimal(valueText));
}

QString listFeedText(const ListFeedLabels &labels)
{
    return QStringLiteral("  ") + labels.time + QStringLiteral("    ") + labels.function
        + QStringLiteral("    ") + labels.range + QStringLiteral(":     ") + labels.value;
}

QDate listFeedDate(const QString &feedText, const QDateTime &now)
{
    constexpr int halfDay = 12 * 3600;
    const QTime shown = QTime::fromString(feedText.trimmed().left(8), QStringLiteral("hh:mm:ss"));
    if (!shown.isValid())
        return now.date();
    const int ahead = now.time().secsTo(shown);
    if (ahead > halfDay)
        return now.date().addDays(-1);
    if (ahead < -halfDay)
        return now.date().addDays(1);
    return now.date();
}

int samplingIntervalMs(const QString &samplingText)
{
    common::Decimal seconds = common::leadingDecimal(samplingText);
    seconds.exponent += 3; // to milliseconds, exactly
    return static_cast<int>(common::roundHalfEven(seconds));
}

} // namespace live
