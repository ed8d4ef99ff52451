// Frame reception and decoding fed any byte stream. Byte 0: low nibble + 1
// bytes per arrival, high nibble x 10 ms apart; byte 1, bit 7: the clock starts
// 1 s before midnight; then the meter's bytes, polled a tick every 50 ms.
// Checked: a frame is handed on only with its end byte; a tick never waits;
// the reading is a table row (or none), its value "", "OL" or [-]digits.digits;
// max/min were shown; the stored scale and its exact half; silence is a loss.

#include "fuzz/simulatedline.h"

#include "common/meterreading.h"
#include "common/sharedvalues.h"
#include "link/decoder.h"
#include "link/livelink.h"
#include "link/maxmin.h"

#include <QRegularExpression>
#include <QSet>

namespace fuzz {

namespace {

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
    static const QRegularExpression valueShape(QStringLiteral("^-?(OL|[0-9]+\\.[0-9]+)?$"));
    if (RxV.size() != 6 || RxV.at(5) != live::FrameReceiver::endByte)
        return QStringLiteral("frame of %1 bytes handed on without its end byte").arg(RxV.size());
    live::decodeLiveFrame(RxV, s.reading, s.shared);
    live::updateMaxMin(s.reading.valueText, s.extremes);
    s.shownValues.insert(s.reading.valueText);
    live::DecodeSecondByte(RxV, {s.storedFunction, s.storedRange}, true, s.storedScale);
    if (!valueShape.match(s.reading.valueText).hasMatch() || !isTableRow(s.reading.functionText, s.reading.rangeText)
        || (s.shared.valueByteFlag != 0 && s.shared.valueByteFlag != 1))
        return QStringLiteral("reading \"%1\" \"%2\" \"%3\" flag %4")
            .arg(s.reading.valueText, s.reading.functionText, s.reading.rangeText).arg(s.shared.valueByteFlag);
    if (!s.shownValues.contains(s.extremes.max) || !s.shownValues.contains(s.extremes.min))
        return QStringLiteral("max \"%1\" / min \"%2\" never shown").arg(s.extremes.max, s.extremes.min);
    if (!isScale(s.storedScale.scaleMax, s.storedScale.scaleHalf))
        return QStringLiteral("scaleMax %1, scaleHalf %2").arg(s.storedScale.scaleMax).arg(s.storedScale.scaleHalf);
    return {};
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
    // Silent ticks after which the link must have counted as lost, whatever
    // the function shown or a frame begun before the silence.
    for (int silentTicks = 0; silentTicks < live::FrameReceiver::emptyTickLimitFrequency + 2; line.advance(0.05)) {
        const double tickStart = line.elapsed();
        for (const QByteArray &RxV : link.tick(session.reading.functionText == QLatin1String("Frequency")))
            if (QString finding = takeFrame(RxV, session); !finding.isEmpty())
                return finding;
        if (line.elapsed() != tickStart)
            return QStringLiteral("one tick waited %1 s").arg(line.elapsed() - tickStart);
        silentTicks = line.quiet() ? silentTicks + 1 : 0;
    }
    return linkLosses == 0 ? QStringLiteral("a silent line never counted as a lost link") : QString();
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkLive)
