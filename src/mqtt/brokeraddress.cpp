#include "mqtt/brokeraddress.h"

#include <QRegularExpression>

namespace mqtt {

std::optional<BrokerAddress> parseBrokerUrl(const QString &url)
{
    static const QRegularExpression form(
        QStringLiteral("^(mqtts?)://(\\[[0-9A-Fa-f:.]+\\]|[A-Za-z0-9._-]+)(?::([0-9]{1,5}))?/?$"));
    const QRegularExpressionMatch match = form.match(url);
    if (!match.hasMatch())
        return std::nullopt;
    BrokerAddress address;
    address.tls = match.captured(1) == QLatin1String("mqtts");
    address.host = match.captured(2);
    if (address.host.startsWith(QLatin1Char('[')))
        address.host = address.host.mid(1, address.host.size() - 2);
    address.port = address.tls ? 8883 : 1883;
    if (match.hasCaptured(3) && !match.captured(3).isEmpty()) {
        address.port = match.captured(3).toInt();
        if (address.port < 1 || address.port > 65535)
            return std::nullopt;
    }
    return address;
}

} // namespace mqtt
