#include "cli/mqttoptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>

namespace cli {

namespace {

const char *const fileOptions[] = {"mqtt-ca", "mqtt-cert", "mqtt-key"};
const char *const dependentOptions[] = {"mqtt-ca", "mqtt-cert", "mqtt-key", "mqtt-user",
                                        "mqtt-password-file", "mqtt-topic", "mqtt-qos"};

UsageError error(const QString &text)
{
    return {text};
}

std::optional<UsageError> readPassword(const QCommandLineParser &parser, mqtt::PublisherOptions &mqtt)
{
    if (!parser.isSet("mqtt-password-file")) {
        if (qEnvironmentVariableIsSet(passwordVariable))
            mqtt.password = qgetenv(passwordVariable);
        return std::nullopt;
    }
    QFile file(parser.value("mqtt-password-file"));
    if (!file.open(QIODevice::ReadOnly))
        return error(QStringLiteral("cannot read --mqtt-password-file %1: %2")
                         .arg(file.fileName(), file.errorString()));
    // The first line, as `echo secret > file` writes it.
    QByteArray password = file.readLine(4096);
    while (password.endsWith('\n') || password.endsWith('\r'))
        password.chop(1);
    mqtt.password = password.isNull() ? QByteArray("") : password;
    return std::nullopt;
}

std::optional<UsageError> readFiles(const QCommandLineParser &parser, mqtt::PublisherOptions &mqtt)
{
    for (const char *name : fileOptions) {
        if (!parser.isSet(QString::fromLatin1(name)))
            continue;
        if (!mqtt.broker.tls)
            return error(QStringLiteral("--%1 belongs to an mqtts:// broker").arg(QString::fromLatin1(name)));
        const QString path = parser.value(QString::fromLatin1(name));
        if (!QFileInfo(path).isReadable())
            return error(QStringLiteral("cannot read --%1 %2").arg(QString::fromLatin1(name), path));
    }
    mqtt.caFile = parser.value("mqtt-ca");
    mqtt.certFile = parser.value("mqtt-cert");
    mqtt.keyFile = parser.value("mqtt-key");
    if (mqtt.certFile.isEmpty() != mqtt.keyFile.isEmpty())
        return error(QStringLiteral("--mqtt-cert and --mqtt-key go together"));
    return std::nullopt;
}

std::optional<UsageError> readTopicAndQos(const QCommandLineParser &parser, mqtt::PublisherOptions &mqtt)
{
    static const QRegularExpression topic(QStringLiteral("^[^#+\\x00]+$"));
    mqtt.topicPrefix = parser.isSet("mqtt-topic")
                           ? parser.value("mqtt-topic")
                           : QStringLiteral("meterlink/") + QSysInfo::machineHostName();
    while (mqtt.topicPrefix.endsWith(QLatin1Char('/')))
        mqtt.topicPrefix.chop(1);
    if (!topic.match(mqtt.topicPrefix).hasMatch())
        return error(QStringLiteral("--mqtt-topic wants a topic without + and #, not \"%1\"")
                         .arg(parser.value("mqtt-topic")));
    if (parser.isSet("mqtt-qos")) {
        const QString qos = parser.value("mqtt-qos");
        if (qos != QLatin1String("0") && qos != QLatin1String("1"))
            return error(QStringLiteral("--mqtt-qos wants 0 or 1, not \"%1\"").arg(qos));
        mqtt.qos = qos.toInt();
    }
    if (qEnvironmentVariableIsSet(queueBytesVariable)) {
        bool ok = false;
        mqtt.queueCeilingBytes = qEnvironmentVariable(queueBytesVariable).toLongLong(&ok);
        if (!ok || mqtt.queueCeilingBytes < 1)
            return error(QStringLiteral("%1 wants a number of bytes").arg(QString::fromLatin1(queueBytesVariable)));
    }
    return std::nullopt;
}

} // namespace

void addMqttOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {"mqtt", {}, "URL"},
        {"mqtt-ca", {}, "FILE"},
        {"mqtt-cert", {}, "FILE"},
        {"mqtt-key", {}, "FILE"},
        {"mqtt-user", {}, "NAME"},
        {"mqtt-password-file", {}, "FILE"},
        {"mqtt-topic", {}, "PREFIX"},
        {"mqtt-qos", {}, "QOS"},
    });
}

std::optional<UsageError> readMqttOptions(const QCommandLineParser &parser, Options &options)
{
    if (!parser.isSet("mqtt")) {
        for (const char *name : dependentOptions) {
            if (parser.isSet(QString::fromLatin1(name)))
                return error(QStringLiteral("--%1 needs --mqtt URL").arg(QString::fromLatin1(name)));
        }
        return std::nullopt;
    }
    if (options.action != Action::Live)
        return error(QStringLiteral("--mqtt belongs to the live readings, not to another action"));
    const auto broker = mqtt::parseBrokerUrl(parser.value("mqtt"));
    if (!broker)
        return error(QStringLiteral("--mqtt wants mqtt://host[:port] or mqtts://host[:port], not \"%1\"")
                         .arg(parser.value("mqtt")));
    mqtt::PublisherOptions mqtt;
    mqtt.broker = *broker;
    mqtt.user = parser.value("mqtt-user");
    if (parser.isSet("mqtt-password-file") && mqtt.user.isEmpty())
        return error(QStringLiteral("--mqtt-password-file needs --mqtt-user"));
    for (const auto &step : {readPassword, readFiles, readTopicAndQos}) {
        if (auto failure = step(parser, mqtt))
            return failure;
    }
    if (mqtt.user.isEmpty())
        mqtt.password.clear();
    options.mqtt = mqtt;
    return std::nullopt;
}

} // namespace cli
