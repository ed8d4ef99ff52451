#pragma once

#include "logger/commandbuffer.h"
#include "logger/exchange.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace logger {

// The answer to UPDATE's question "how many memory ICs".
struct IcCountAnswer
{
    enum class Kind {
        Cancelled, // empty answer: nothing happens
        NotPairs,  // not 2, 4, 6 or 8: "No.s of IC must be Pairs!"
        Code,
    };
    Kind kind = Kind::Cancelled;
    int code = 0; // 1..4 for 2, 4, 6, 8 ICs
};

// Reads UPDATE's answer: the first "," becomes "." and the leading number
// must be exactly 2, 4, 6 or 8 ("4,0" is 4; "2.5" and "3" are refused).
IcCountAnswer parseIcCount(const QString &answer);

// UPDATE's question: prompt (six lines), title and default answer.
QString icCountPrompt();
inline const QString icCountTitle = QStringLiteral("Input Memory Size");
QString icCountDefault();

// The requests of the PANEL window, sent through its 8-byte buffer. No
// reply is awaited: whatever the meter answers is dropped.
class PanelRequests
{
public:
    PanelRequests(Exchange &exchange, PanelCommandBuffer &buffer)
        : exchange_(exchange)
        , buffer_(buffer)
    {}

    // SYSTEM TIME SET, whole: `portCaption` "WAIT", polling paused, "A",
    // 0.1 s, input dropped, "D" and the computer's date and time as BCD
    // (one reading of the clock), input dropped, " ", polling on,
    // `portCaption` `portText`.
    void setMeterClock(const Caption &portCaption, const QString &portText);

    // UPDATE, from the pause on: polling paused, "A", 0.5 s, input
    // dropped, "W" 134 `code`, 0.05 s, " ", 0.01 s, polling on, 0.01 s, " ".
    void writeMemorySize(int code);

    PanelCommandBuffer &buffer() { return buffer_; }

private:
    Exchange &exchange_;
    PanelCommandBuffer &buffer_;
};

} // namespace logger
