#include "emulator/fault.h"

#include <array>
#include <utility>

namespace emulator {

namespace {

constexpr std::array<std::pair<FaultKind, const char *>, 10> names{{
    {FaultKind::None, "none"},
    {FaultKind::Silence, "silence"},
    {FaultKind::StrayBytes, "stray"},
    {FaultKind::WrongEndByte, "wrong-end"},
    {FaultKind::TruncatedFrame, "truncated"},
    {FaultKind::Garbage, "garbage"},
    {FaultKind::SilentMidReply, "silent-mid-reply"},
    {FaultKind::NoLoggerReply, "no-reply"},
    {FaultKind::ShortReply, "short-reply"},
    {FaultKind::LongStatusReply, "long-status"},
}};

} // namespace

int defaultFaultBytes(FaultKind kind)
{
    switch (kind) {
    case FaultKind::StrayBytes:
        return 3;
    case FaultKind::TruncatedFrame:
        return 4;
    case FaultKind::Garbage:
        return 7;
    default:
        return 0;
    }
}

bool spoilsFrames(FaultKind kind)
{
    return kind == FaultKind::Silence || kind == FaultKind::StrayBytes
        || kind == FaultKind::WrongEndByte || kind == FaultKind::TruncatedFrame
        || kind == FaultKind::Garbage;
}

bool spoilsReplies(FaultKind kind)
{
    return kind == FaultKind::Silence || kind == FaultKind::SilentMidReply
        || kind == FaultKind::NoLoggerReply || kind == FaultKind::ShortReply
        || kind == FaultKind::LongStatusReply;
}

QString faultName(FaultKind kind)
{
    for (const auto &[k, name] : names) {
        if (k == kind)
            return QString::fromLatin1(name);
    }
    return {};
}

std::optional<FaultKind> faultFromName(const QString &name)
{
    for (const auto &[k, n] : names) {
        if (name == QLatin1String(n))
            return k;
    }
    return std::nullopt;
}

QStringList faultNames()
{
    QStringList list;
    for (const auto &entry : names)
        list << QString::fromLatin1(entry.second);
    return list;
}

} // namespace emulator
