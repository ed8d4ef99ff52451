#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace mqtt {

// Where the readings go and how the program proves who it is.
struct BrokerAddress
{
    QString host;
    int port = 1883;
    bool tls = false;

    // "host:port", the name every message about the broker uses.
    QString name() const { return host + QLatin1Char(':') + QString::number(port); }
};

// "mqtt://host[:port]" (1883) or "mqtts://host[:port]" (8883, TLS); an IPv6
// host goes in brackets. Nothing when malformed.
std::optional<BrokerAddress> parseBrokerUrl(const QString &url);

// A day at one reading a second is about 86 400 x 200 bytes: 32 MiB keeps
// it with room for longer flags and the bookkeeping of each entry.
constexpr qint64 defaultQueueCeilingBytes = 32LL * 1024 * 1024;

struct PublisherOptions
{
    BrokerAddress broker;
    QString caFile;   // empty with TLS: the system's certificate authorities
    QString certFile; // a client certificate, with keyFile
    QString keyFile;
    QString user;     // empty: no user name
    QByteArray password;
    QString topicPrefix; // readings to PREFIX/reading, PREFIX/status retained
    int qos = 1;
    qint64 queueCeilingBytes = defaultQueueCeilingBytes;
};

} // namespace mqtt
