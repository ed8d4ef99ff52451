#pragma once

// Line faults the emulated meter can produce, for the next few frames or
// replies or until cleared. Usage:
//
//   emulator.setFault({emulator::FaultKind::WrongEndByte, 1});   // next frame only
//   emulator.setFault({emulator::FaultKind::NoLoggerReply});     // until clearFault()
//   emulator.setFault({emulator::FaultKind::StrayBytes, 2, 3});  // 3 stray bytes, twice
//
// Frame faults (spoil live frames): Silence, StrayBytes, WrongEndByte,
// TruncatedFrame, Garbage. Reply faults (spoil logger replies): Silence,
// SilentMidReply, NoLoggerReply, ShortReply, LongStatusReply (the "Y"
// reply only). Silence also swallows acknowledgements.

#include <QString>
#include <QStringList>
#include <optional>

namespace emulator {

enum class FaultKind {
    None,
    Silence,         // nothing at all is sent: no frames, no replies
    StrayBytes,      // `bytes` bytes (default 3) that are not a start byte, before a frame
    WrongEndByte,    // the frame ends with 4 instead of 3
    TruncatedFrame,  // only the first `bytes` bytes (default 4) of a frame are sent
    Garbage,         // `bytes` bytes (default 7) of noise, never a start byte, instead of a frame
    SilentMidReply,  // half of a reply, then silence until the next release " "
    NoLoggerReply,   // logger requests get no reply (acknowledgements included)
    ShortReply,      // a reply loses its last byte
    LongStatusReply, // the status block ("Y") gets an 11th byte
};

struct Fault
{
    FaultKind kind = FaultKind::None;
    int times = 0; // frames or replies spoiled; 0 or less: until cleared
    int bytes = 0; // stray/garbage count or truncated length; 0: the kind's default
};

// The kind's default for Fault::bytes (0 when it has none).
int defaultFaultBytes(FaultKind kind);

// True when the kind spoils live frames / logger replies.
bool spoilsFrames(FaultKind kind);
bool spoilsReplies(FaultKind kind);

// Command-line names: "silence", "stray", "wrong-end", "truncated",
// "garbage", "silent-mid-reply", "no-reply", "short-reply", "long-status".
QString faultName(FaultKind kind);
std::optional<FaultKind> faultFromName(const QString &name);
QStringList faultNames();

} // namespace emulator
