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

int samplingIntervalMs(const QString &samplingText)
{
    common::Decimal seconds = common::leadingDecimal(samplingText);
    seconds.exponent += 3; // to milliseconds, exactly
    return static_cast<int>(common::roundHalfEven(seconds));
}

} // namespace live
