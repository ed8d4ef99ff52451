#include "logger/panelrequests.h"

#include "common/numbers.h"
#include "logger/messages.h"
#include "logger/timing.h"

#include <QStringList>

namespace logger {

namespace {
constexpr float afterMemorySizeSeconds = 0.05f;
constexpr float releasePauseSeconds = 0.01f;
} // namespace

IcCountAnswer parseIcCount(const QString &answer)
{
    if (answer.isEmpty())
        return {};
    QString text = answer;
    if (const qsizetype comma = text.indexOf(u','); comma >= 0)
        text[comma] = u'.';
    const double ics = common::leadingNumber(text);
    for (int code = 1; code <= 4; ++code) {
        if (ics == double(2 * code))
            return {IcCountAnswer::Kind::Code, code};
    }
    return {IcCountAnswer::Kind::NotPairs, 0};
}

QString icCountPrompt()
{
    return QStringList{QStringLiteral("Update the MEMORY SIZE in No.s of ICs"),
                       QString(),
                       QStringLiteral("2-->  64K"),
                       QStringLiteral("4-->128K"),
                       QStringLiteral("6-->192K"),
                       QStringLiteral("8-->256K")}
        .join(QStringLiteral("\r\n"));
}

QString icCountDefault()
{
    return common::formatNumber(2.0, u"##.0");
}

void PanelRequests::setMeterClock(const Caption &portCaption, const QString &portText)
{
    portCaption(text::portWait);
    exchange_.pausePolling();
    exchange_.attention(shortAttentionSeconds);
    const QDateTime now = exchange_.clock().now();
    exchange_.send(buffer_.setClock(meterClockOf(now)));
    exchange_.discardInput();
    exchange_.release();
    exchange_.resumePolling();
    portCaption(portText);
}

void PanelRequests::writeMemorySize(int code)
{
    exchange_.pausePolling();
    exchange_.attention(attentionSeconds);
    exchange_.send(buffer_.writeByte(address::memorySizeCode, quint8(code)));
    exchange_.wait(afterMemorySizeSeconds);
    exchange_.release();
    exchange_.wait(releasePauseSeconds);
    exchange_.resumePolling();
    exchange_.wait(releasePauseSeconds);
    exchange_.release();
}

} // namespace logger
