#pragma once

#include "mqtt/brokeraddress.h"
#include "mqtt/readingqueue.h"
#include "platform/clock.h"

#include <QHash>
#include <QObject>
#include <QTimer>

struct mosquitto;
class QSocketNotifier;

namespace mqtt {

// Publishes readings to PREFIX/reading with libmosquitto, driven from the
// event loop: socket notifiers and a short tick, never a blocking call
// (only the host name lookup of a connection attempt waits on the
// resolver). A reading leaves the queue when the broker acknowledged it;
// each connection gets a fresh client, so what a lost connection left
// unacknowledged is sent again by us, in order: at least once.
// PREFIX/status is "online" (retained) while connected and "offline" as
// the will, which a clean end asks the broker to publish.
class Publisher : public QObject
{
    Q_OBJECT
public:
    static constexpr double firstBackoffSeconds = 0.5;
    static constexpr double maxBackoffSeconds = 30;
    // A connection attempt without CONNACK by then is given up and retried.
    static constexpr double connectTimeoutSeconds = 10;
    static constexpr int tickMs = 100;
    static constexpr int maxInFlight = 100;

    Publisher(const PublisherOptions &options, const platform::Clock &clock, QObject *parent = nullptr);
    ~Publisher() override;

    void start();
    void publish(const QByteArray &payload);
    // Spends at most `seconds` sending what is queued, then leaves:
    // ended() with the number of readings not sent.
    void finish(double seconds);
    qint64 droppedTotal() const { return dropped_; }

Q_SIGNALS:
    // The connection went or came back: one line for the user.
    void notice(const QString &line);
    // Nothing can be sent with these settings (refused user or password,
    // a certificate that does not verify, a denied topic): the message
    // names the broker and the reason.
    void failed(const QString &message);
    void dropped(qint64 total);
    void ended(qint64 notSent);

private:
    friend struct Callbacks;
    enum class State { Waiting, Connecting, Connected, Done };

    void connectNow();
    bool configure();
    void destroyClient();
    void service();
    void onTick();
    void syncNotifiers();
    void sendQueued();
    void onConnected(int reason);
    void onPublished(int mid, int reason);
    void lost(const QString &reason);
    void fail(const QString &reason);
    void checkFinished();
    void end();
    QByteArray topic(const char *leaf) const;

    PublisherOptions options_;
    const platform::Clock &clock_;
    ReadingQueue queue_;
    mosquitto *client_ = nullptr;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QTimer tick_;
    State state_ = State::Waiting;
    QHash<int, qint64> inFlight_; // message id -> reading number
    int statusMid_ = -1;
    double backoff_ = firstBackoffSeconds;
    double retryAt_ = 0;
    double connectDeadline_ = 0;
    bool finishing_ = false;
    double finishDeadline_ = 0;
    bool writeSeen_ = false;      // the connection in progress was writable once
    qint64 sending_ = -1;         // the reading inside mosquitto_publish_v5()
    bool sentAlready_ = false;    // ... and it was acknowledged there (QoS 0)
    bool lostReported_ = false;
    qint64 dropped_ = 0;
    QString lastTlsError_;
};

} // namespace mqtt
