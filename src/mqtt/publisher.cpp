#include "mqtt/publisher.h"

#include <QSocketNotifier>

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mqtt {

namespace {

constexpr int keepAliveSeconds = 30;
constexpr int disconnectWithWill = 0x04;

void initLibrary()
{
    static const int once = mosquitto_lib_init();
    Q_UNUSED(once)
}

QString errorText(int rc)
{
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

// Reasons that no retry can change: the broker does not want this client.
bool refusedForGood(int reason)
{
    switch (reason) {
    case 4: // MQTT 3.1.1: bad user name or password
    case 5: // MQTT 3.1.1: not authorised
    case MQTT_RC_UNSUPPORTED_PROTOCOL_VERSION:
    case MQTT_RC_CLIENTID_NOT_VALID:
    case MQTT_RC_BAD_USERNAME_OR_PASSWORD:
    case MQTT_RC_NOT_AUTHORIZED:
    case MQTT_RC_BANNED:
    case MQTT_RC_BAD_AUTHENTICATION_METHOD:
        return true;
    default:
        return false;
    }
}

QString reasonText(int reason)
{
    return QString::fromUtf8(reason < 6 ? mosquitto_connack_string(reason)
                                        : mosquitto_reason_string(reason));
}

} // namespace

struct Callbacks
{
    static Publisher &of(void *self) { return *static_cast<Publisher *>(self); }

    static void connect(mosquitto *, void *self, int reason, int, const mosquitto_property *)
    {
        of(self).onConnected(reason);
    }
    static void disconnect(mosquitto *, void *self, int rc, const mosquitto_property *)
    {
        if (of(self).state_ != Publisher::State::Done)
            of(self).lost(rc == MOSQ_ERR_SUCCESS ? QStringLiteral("disconnected") : errorText(rc));
    }
    static void publish(mosquitto *, void *self, int mid, int reason, const mosquitto_property *)
    {
        of(self).onPublished(mid, reason);
    }
    static void log(mosquitto *, void *self, int level, const char *text)
    {
        // OpenSSL's own words say why a certificate did not verify.
        if (level == MOSQ_LOG_ERR && std::strstr(text, "OpenSSL") != nullptr)
            of(self).lastTlsError_ = QString::fromUtf8(text);
    }
};

Publisher::Publisher(const PublisherOptions &options, const platform::Clock &clock, QObject *parent)
    : QObject(parent)
    , options_(options)
    , clock_(clock)
    , queue_(options.queueCeilingBytes)
{
    initLibrary();
    tick_.setInterval(tickMs);
    connect(&tick_, &QTimer::timeout, this, &Publisher::onTick);
}

Publisher::~Publisher()
{
    destroyClient();
}

void Publisher::start()
{
    tick_.start();
    connectNow();
}

void Publisher::publish(const QByteArray &payload)
{
    if (state_ == State::Done)
        return;
    if (const qint64 gone = queue_.push(payload)) {
        dropped_ += gone;
        Q_EMIT dropped(dropped_);
    }
    sendQueued();
    service();
}

void Publisher::finish(double seconds)
{
    finishing_ = true;
    finishDeadline_ = clock_.steadySeconds() + seconds;
    checkFinished();
}

QByteArray Publisher::topic(const char *leaf) const
{
    return options_.topicPrefix.toUtf8() + '/' + leaf;
}

void Publisher::destroyClient()
{
    for (QSocketNotifier *notifier : {readNotifier_, writeNotifier_}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    readNotifier_ = writeNotifier_ = nullptr;
    if (client_)
        mosquitto_destroy(client_);
    client_ = nullptr;
}

bool Publisher::configure()
{
    mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    mosquitto_connect_v5_callback_set(client_, &Callbacks::connect);
    mosquitto_disconnect_v5_callback_set(client_, &Callbacks::disconnect);
    mosquitto_publish_v5_callback_set(client_, &Callbacks::publish);
    mosquitto_log_callback_set(client_, &Callbacks::log);
    const QByteArray statusTopic = topic("status");
    mosquitto_will_set_v5(client_, statusTopic.constData(), 7, "offline", 1, true, nullptr);
    if (!options_.user.isEmpty()) {
        mosquitto_username_pw_set(client_, options_.user.toUtf8().constData(),
                                  options_.password.isNull() ? nullptr : options_.password.constData());
    }
    if (!options_.broker.tls)
        return true;
    const QByteArray ca = options_.caFile.toLocal8Bit();
    const QByteArray cert = options_.certFile.toLocal8Bit();
    const QByteArray key = options_.keyFile.toLocal8Bit();
    const int rc = mosquitto_tls_set(client_, ca.isEmpty() ? nullptr : ca.constData(),
                                     ca.isEmpty() ? "/etc/ssl/certs" : nullptr,
                                     cert.isEmpty() ? nullptr : cert.constData(),
                                     key.isEmpty() ? nullptr : key.constData(), nullptr);
    if (rc != MOSQ_ERR_SUCCESS) {
        fail(QStringLiteral("cannot use the TLS files: %1").arg(errorText(rc)));
        return false;
    }
    return true;
}

void Publisher::connectNow()
{
    destroyClient();
    inFlight_.clear();
    statusMid_ = -1;
    queue_.rewind();
    writeSeen_ = false;
    client_ = mosquitto_new(nullptr, true, this);
    if (!client_) {
        fail(QStringLiteral("cannot create an MQTT client: %1").arg(errorText(MOSQ_ERR_ERRNO)));
        return;
    }
    if (!configure())
        return;
    state_ = State::Connecting;
    connectDeadline_ = clock_.steadySeconds() + connectTimeoutSeconds;
    const int rc = mosquitto_connect_async(client_, options_.broker.host.toUtf8().constData(),
                                           options_.broker.port, keepAliveSeconds);
    if (rc == MOSQ_ERR_TLS)
        fail(QStringLiteral("failed the TLS handshake: %1").arg(lastTlsError_));
    else if (rc != MOSQ_ERR_SUCCESS)
        lost(errorText(rc));
    else
        service();
}

// Lets libmosquitto read, write and keep the connection alive, without
// waiting: its select() gets a zero timeout.
void Publisher::service()
{
    if (!client_ || state_ == State::Waiting || state_ == State::Done) {
        checkFinished();
        return;
    }
    int rc = mosquitto_loop(client_, 0, maxInFlight);
    // Publishing from a callback only queues the packet: send it now.
    if (rc == MOSQ_ERR_SUCCESS && client_ && state_ == State::Connected && mosquitto_want_write(client_))
        rc = mosquitto_loop_write(client_, maxInFlight);
    if (rc == MOSQ_ERR_TLS && state_ != State::Done)
        fail(QStringLiteral("failed the TLS handshake: %1").arg(lastTlsError_.isEmpty() ? errorText(rc) : lastTlsError_));
    else if (rc != MOSQ_ERR_SUCCESS && state_ != State::Waiting && state_ != State::Done)
        lost(errorText(rc));
    syncNotifiers();
    checkFinished();
}

void Publisher::syncNotifiers()
{
    const int socket = client_ && (state_ == State::Connecting || state_ == State::Connected)
                           ? mosquitto_socket(client_)
                           : -1;
    if (readNotifier_ && (socket < 0 || readNotifier_->socket() != socket)) {
        for (QSocketNotifier *notifier : {readNotifier_, writeNotifier_}) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        readNotifier_ = writeNotifier_ = nullptr;
    }
    if (socket < 0)
        return;
    if (!readNotifier_) {
        readNotifier_ = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        writeNotifier_ = new QSocketNotifier(socket, QSocketNotifier::Write, this);
        connect(readNotifier_, &QSocketNotifier::activated, this, &Publisher::service);
        connect(writeNotifier_, &QSocketNotifier::activated, this, [this] {
            writeSeen_ = true;
            service();
        });
    }
    // While connecting, writable means the TCP connection is up; the tick
    // covers the steps of a TLS handshake that libmosquitto does not report.
    writeNotifier_->setEnabled(mosquitto_want_write(client_)
                               || (state_ == State::Connecting && !writeSeen_));
}

void Publisher::onTick()
{
    const double now = clock_.steadySeconds();
    if (state_ == State::Waiting && now >= retryAt_)
        connectNow();
    else if (state_ == State::Connecting && now >= connectDeadline_)
        lost(QStringLiteral("no answer within %1 s").arg(connectTimeoutSeconds));
    else
        service();
}

void Publisher::onConnected(int reason)
{
    if (reason != 0) {
        if (refusedForGood(reason))
            fail(QStringLiteral("refused the connection: %1").arg(reasonText(reason)));
        else
            lost(QStringLiteral("refused the connection: %1").arg(reasonText(reason)));
        return;
    }
    state_ = State::Connected;
    backoff_ = firstBackoffSeconds;
    if (lostReported_)
        Q_EMIT notice(QStringLiteral("mqtt: connected to %1 again").arg(options_.broker.name()));
    lostReported_ = false;
    const QByteArray statusTopic = topic("status");
    mosquitto_publish_v5(client_, &statusMid_, statusTopic.constData(), 6, "online", 1, true, nullptr);
    sendQueued();
}

void Publisher::sendQueued()
{
    const QByteArray readingTopic = topic("reading");
    while (state_ == State::Connected && inFlight_.size() < maxInFlight) {
        const auto next = queue_.takeNext();
        if (!next)
            return;
        int mid = 0;
        sending_ = next->number;
        const int rc = mosquitto_publish_v5(client_, &mid, readingTopic.constData(),
                                            int(next->payload.size()), next->payload.constData(),
                                            options_.qos, false, nullptr);
        sending_ = -1;
        if (rc != MOSQ_ERR_SUCCESS) {
            lost(errorText(rc));
            return;
        }
        if (!sentAlready_)
            inFlight_.insert(mid, next->number);
        sentAlready_ = false;
    }
}

void Publisher::onPublished(int mid, int reason)
{
    // Mosquitto acknowledges a publication its access list denies: MQTT 5
    // carries the refusal in the acknowledgement's reason.
    if (reason >= 0x80) {
        const QByteArray name = mid == statusMid_ ? topic("status") : topic("reading");
        fail(QStringLiteral("refused publishing to %1: %2")
                 .arg(QString::fromUtf8(name), reasonText(reason)));
        return;
    }
    if (mid == statusMid_)
        return;
    const auto found = inFlight_.constFind(mid);
    if (found == inFlight_.constEnd()) {
        // QoS 0 is acknowledged by the write itself, inside the publish call.
        if (sending_ >= 0) {
            queue_.acknowledge(sending_);
            sentAlready_ = true;
        }
        return;
    }
    queue_.acknowledge(found.value());
    inFlight_.erase(found);
    if (sending_ < 0)
        sendQueued();
}

void Publisher::lost(const QString &reason)
{
    if (state_ == State::Done)
        return;
    state_ = State::Waiting;
    inFlight_.clear();
    statusMid_ = -1;
    queue_.rewind();
    syncNotifiers();
    retryAt_ = clock_.steadySeconds() + backoff_;
    if (!lostReported_) {
        Q_EMIT notice(QStringLiteral("mqtt: broker %1: %2; readings wait in memory, trying again")
                          .arg(options_.broker.name(), reason));
        lostReported_ = true;
    }
    backoff_ = std::min(backoff_ * 2, maxBackoffSeconds);
}

void Publisher::fail(const QString &reason)
{
    if (state_ == State::Done)
        return;
    state_ = State::Done;
    tick_.stop();
    syncNotifiers();
    const QString message = QStringLiteral("mqtt: broker %1 %2").arg(options_.broker.name(), reason);
    QTimer::singleShot(0, this, [this, message] { Q_EMIT failed(message); });
}

void Publisher::checkFinished()
{
    if (!finishing_ || state_ == State::Done)
        return;
    if (queue_.empty() || clock_.steadySeconds() >= finishDeadline_)
        end();
}

void Publisher::end()
{
    const bool connected = state_ == State::Connected;
    state_ = State::Done;
    tick_.stop();
    // The broker publishes the will, "offline", as it would for a lost
    // client: one packet, and no second place that writes the status.
    if (connected && client_)
        mosquitto_disconnect_v5(client_, disconnectWithWill, nullptr);
    syncNotifiers();
    const qint64 notSent = queue_.size();
    QTimer::singleShot(0, this, [this, notSent] { Q_EMIT ended(notSent); });
}

} // namespace mqtt
