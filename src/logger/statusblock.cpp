#include "logger/statusblock.h"

#include "common/numbers.h"

namespace logger {

namespace {

quint32 bigEndian(QByteArrayView bytes, int first, int count)
{
    quint32 value = 0;
    for (int i = first; i < first + count; ++i)
        value = (value << 8) | quint8(bytes[i]);
    return value;
}

} // namespace

std::optional<StatusBlock> parseStatusBlock(QByteArrayView reply)
{
    if (reply.size() != statusBlockBytes)
        return std::nullopt;
    return StatusBlock{quint16(bigEndian(reply, 0, 2)), bigEndian(reply, 4, 4),
                       quint16(bigEndian(reply, 8, 2))};
}

std::optional<int> memorySizeK(int code)
{
    if (code < 1 || code > 4)
        return std::nullopt;
    return 64 * code;
}

QString memorySizeText(int sizeK)
{
    return common::numberText(double(sizeK)) + QStringLiteral(" K");
}

QString remainingText(int sizeK, quint32 bytesInUse)
{
    // bytes / 1024 is exact as bytes x 5^10 / 10^10, so the remainder is
    // rounded on its exact decimal value.
    constexpr qint64 fivePowTen = 9'765'625;
    constexpr qint64 tenPowTen = 10'000'000'000;
    const qint64 mantissa = qint64(sizeK) * tenPowTen - qint64(bytesInUse) * fivePowTen;
    return common::formatNumber(common::Decimal{mantissa, -10}, u"##.0") + QStringLiteral(" K");
}

} // namespace logger
