// Frame reception and decoding fed any byte stream. Input byte 0: low nibble
// + 1 bytes per arrival, high nibble x 10 ms between arrivals; byte 1, bit 7:
// the clock starts 1 s before midnight; then the bytes the meter sends,
// polled through the live link a tick every 50 ms. Checked: a frame is
// handed on only with its end byte; a tick never waits; the reading is a
// table row (or none) with a value "", "OL" or digits with a point (and an
// optional "-"); max/min were shown; the stored scale is a full scale and
// its half exactly half; a silent line counts as a lost link.

#include "fuzz/simulatedline.h"

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

QString checkReading(const common::MeterReading &reading, qint16 valueByteFlag)
{
    static const QRegularExpression valueShape(QStringLiteral("^-?(OL|[0-9]+\\.[0-9]+)?$"));
    if (!valueShape.match(reading.valueText).hasMatch())
        return QStringLiteral("value text \"%1\"").arg(reading.valueText);
    if (!isTableRow(reading.functionText, reading.rangeText))
        return QStringLiteral("function \"%1\" with range \"%2\"")
            .arg(reading.functionText, reading.rangeText);
    if (valueByteFlag != 0 && valueByteFlag != 1)
        return QStringLiteral("valueByteFlag %1").arg(valueByteFlag);
    return {};
}

QString checkStoredScale(const common::SharedValues &scale)
{
    if (!isFullScale(scale.scaleMax))
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
    const auto pace = quint8(input[0]);
    SimulatedLine line((quint8(input[1]) & 0x80) ? 86399.0 : 43200.0);
    const qsizetype chunk = (pace & 0x0F) + 1;
    for (qsizetype at = 2, arrival = 0; at < input.size(); at += chunk, ++arrival)
        line.arriveAfter(double(arrival) * (pace >> 4) * 0.01, input.sliced(at, std::min(chunk, input.size() - at)).toByteArray());

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
