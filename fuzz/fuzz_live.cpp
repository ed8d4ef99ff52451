// Frame reception and decoding fed any byte stream.
//
//  input byte | meaning
//  -----------+-----------------------------------------------------------
//      0      | low nibble + 1: bytes per arrival; high nibble x 10 ms:
//             |   time between arrivals (0: all at once)
//      1      | bit 7: the clock starts 1 s before midnight, else at noon
//     2..     | the bytes the meter sends
//
// The stream is polled through the live link as the panel polls it (a tick
// every 50 ms) and each frame is decoded as a live frame and as a stored
// record's code. Checked, whatever the bytes:
//   - a frame is handed on only with its end byte 3;
//   - a tick never waits: the clock stands still inside it;
//   - the reading is a known function with its own range (or none), its
//     value text is empty, "OL" or digits with a point (with an optional
//     "-"), and the largest/smallest reading are texts that were shown;
//   - the scale kept for stored records is a full scale of the table, and
//     its half is exactly half of it;
//   - once the line falls silent the link counts as lost.

#include "fuzz/simulatedline.h"
#include "fuzz/targets.h"

#include "common/functionrangetable.h"
#include "common/meterreading.h"
#include "common/sharedvalues.h"
#include "link/decoder.h"
#include "link/livelink.h"
#include "link/maxmin.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace fuzz {

namespace {

constexpr double tickSeconds = 0.05;
// Silent ticks after which the link must have counted as lost, whatever
// the function shown or a frame begun before the silence.
constexpr int silentTicksToLoss = live::FrameReceiver::emptyTickLimitFrequency + 2;

struct Pace
{
    qsizetype chunk;
    double interval;
    double start;
};

Pace paceOf(quint8 paceByte, quint8 clockByte)
{
    return {qsizetype((paceByte & 0x0F) + 1), (paceByte >> 4) * 0.01,
            (clockByte & 0x80) ? 86399.0 : 43200.0};
}

void scheduleStream(SimulatedLine &line, QByteArrayView stream, const Pace &pace)
{
    int arrival = 0;
    for (qsizetype at = 0; at < stream.size(); at += pace.chunk, ++arrival) {
        const qsizetype count = std::min(pace.chunk, stream.size() - at);
        line.arriveAfter(arrival * pace.interval, stream.sliced(at, count).toByteArray());
    }
}

bool isTableRow(const QString &function, const QString &range)
{
    static const QSet<QString> rows = [] {
        QSet<QString> known;
        for (int code = 0; code < 256; ++code) {
            if (const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code)))
                known.insert(row->functionText + u'|' + row->rangeText);
        }
        return known;
    }();
    return rows.contains(function + u'|' + range);
}

bool isFullScale(double scale)
{
    for (int code = 0; code < 256; ++code) {
        const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
        if (row && row->fullScale == scale)
            return true;
    }
    return false;
}

QString checkReading(const common::MeterReading &reading, qint16 valueByteFlag)
{
    static const QRegularExpression valueShape(QStringLiteral("^-?(OL|[0-9]+\\.[0-9]+)?$"));
    if (!valueShape.match(reading.valueText).hasMatch())
        return QStringLiteral("value text \"%1\"").arg(reading.valueText);
    const bool noFunction = reading.functionText.isEmpty() && reading.rangeText.isEmpty();
    if (!noFunction && !isTableRow(reading.functionText, reading.rangeText))
        return QStringLiteral("function \"%1\" with range \"%2\"")
            .arg(reading.functionText, reading.rangeText);
    if (valueByteFlag != 0 && valueByteFlag != 1)
        return QStringLiteral("valueByteFlag %1").arg(valueByteFlag);
    return {};
}

QString checkStoredScale(const common::SharedValues &scale)
{
    if (scale.scaleMax != 0 && !isFullScale(scale.scaleMax))
        return QStringLiteral("scaleMax %1 is no full scale").arg(scale.scaleMax);
    if (scale.scaleHalf * 2 != scale.scaleMax)
        return QStringLiteral("scaleHalf %1 of scaleMax %2").arg(scale.scaleHalf).arg(scale.scaleMax);
    return {};
}

// What one polling session saw.
struct Session
{
    common::MeterReading reading;
    common::SharedValues shared;
    live::MaxMin extremes;
    QSet<QString> shownValues{QString()};
    QString storedFunction, storedRange;
    common::SharedValues storedScale;
};

QString takeFrame(const QByteArray &RxV, Session &s)
{
    if (RxV.size() != 6 || RxV.at(5) != live::FrameReceiver::endByte)
        return QStringLiteral("frame of %1 bytes handed on without its end byte").arg(RxV.size());
    live::decodeLiveFrame(RxV, s.reading, s.shared);
    live::updateMaxMin(s.reading.valueText, s.extremes);
    s.shownValues.insert(s.reading.valueText);
    live::DecodeSecondByte(RxV, {s.storedFunction, s.storedRange}, true, s.storedScale);
    if (QString finding = checkReading(s.reading, s.shared.valueByteFlag); !finding.isEmpty())
        return finding;
    if (!s.shownValues.contains(s.extremes.max) || !s.shownValues.contains(s.extremes.min))
        return QStringLiteral("max \"%1\" / min \"%2\" never shown")
            .arg(s.extremes.max, s.extremes.min);
    return checkStoredScale(s.storedScale);
}

} // namespace

QString checkLive(QByteArrayView input)
{
    if (input.size() < 2)
        return {};
    const Pace pace = paceOf(quint8(input[0]), quint8(input[1]));
    SimulatedLine line(pace.start);
    scheduleStream(line, input.sliced(2), pace);

    live::LiveLink link(line, line);
    int linkLosses = 0;
    QObject::connect(&link, &live::LiveLink::linkLost, [&] { ++linkLosses; });
    Session session;

    int silentTicks = 0;
    while (silentTicks < silentTicksToLoss) {
        const double tickStart = line.elapsed();
        const bool frequency = session.reading.functionText == QLatin1String("Frequency");
        for (const QByteArray &RxV : link.tick(frequency)) {
            if (QString finding = takeFrame(RxV, session); !finding.isEmpty())
                return finding;
        }
        if (line.elapsed() != tickStart)
            return QStringLiteral("one tick waited %1 s").arg(line.elapsed() - tickStart);
        const bool quiet = !line.arrivalsPending() && line.bytesWaiting() == 0;
        silentTicks = quiet ? silentTicks + 1 : 0;
        line.advance(tickSeconds);
    }
    if (linkLosses == 0)
        return QStringLiteral("a silent line never counted as a lost link");
    return {};
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkLive)
