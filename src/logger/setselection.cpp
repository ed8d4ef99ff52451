#include "logger/setselection.h"

#include "common/numbers.h"
#include "logger/setdirectory.h"

#include <algorithm>

namespace logger {

namespace {
constexpr int highestSet = 256;
} // namespace

SetChoice chooseSet(const QString &text, const QString &setCountText, const QByteArray &directory,
                    qint16 valueByteFlag)
{
    SetChoice choice;
    const common::Decimal typed = common::leadingDecimal(text);
    const double v = typed.toDouble();
    if (v < 1.0 || v > double(highestSet))
        return choice;
    choice.set = int(common::roundHalfEven(typed));
    const auto entry = directoryEntry(directory, choice.set);
    if (v > common::leadingNumber(setCountText) || !entry) {
        choice.kind = SetChoice::Kind::Invalid;
        return choice;
    }
    choice.kind = SetChoice::Kind::Chosen;
    choice.records = entry->records;
    const bool lastSetWithFlag = valueByteFlag == 1 && text == setCountText;
    choice.recordsText = common::numberText(
        double(lastSetWithFlag ? std::max(entry->records - 1, 0) : entry->records));
    return choice;
}

} // namespace logger
