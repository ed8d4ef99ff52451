#pragma once

// The logger's status as the opening of the logger window reads it.
//
// Status block, the reply to "Y", exactly 10 bytes:
//
//  bytes | content
//  ------+-----------------------------------------------------------------
//   1-2  | identification code, unsigned 16-bit, high byte first
//   3-4  | not used
//   5-8  | memory bytes in use, unsigned 32-bit, most significant first
//   9-10 | sampling time in seconds, unsigned 16-bit, high byte first
//
// Memory-size code (address 134): 1, 2, 3, 4 for 64, 128, 192, 256 K
// bytes (one pair of memory ICs is 64 K).

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace logger {

constexpr int statusBlockBytes = 10;

struct StatusBlock
{
    quint16 idCode = 0;
    quint32 bytesInUse = 0;
    quint16 samplingTime = 0; // seconds
    friend bool operator==(const StatusBlock &, const StatusBlock &) = default;
};

// The status block of a reply that is exactly 10 bytes long.
std::optional<StatusBlock> parseStatusBlock(QByteArrayView reply);

// Memory size in K for a memory-size code; nothing for a code outside 1-4.
std::optional<int> memorySizeK(int code);

// "128 K": a memory size as the logger window shows it.
QString memorySizeText(int sizeK);

// The remaining memory as the logger window shows it: the memory size less
// the bytes in use, in K with one decimal ("32.0 K", ".5 K"; negative when
// the meter reports more in use than it has).
QString remainingText(int sizeK, quint32 bytesInUse);

} // namespace logger
