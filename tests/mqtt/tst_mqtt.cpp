// meterlink-cli --mqtt against a Mosquitto broker started here and a
// subscriber: what arrives is compared with the run's own jsonl file.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "mqtt/readingqueue.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int waitMs = 15000;
enum class Kind { Plain, Auth, Tls };
// What happens to the broker while the program runs.
enum class Event { None, Restart, StartLate, Absent, Kill };

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A persistent broker: a subscriber's session and its queue survive a restart.
struct Broker
{
    QString files, data; // the certificates, password file and access list; the broker's own
    Kind kind;
    int port = freePort();
    QProcess process;
    Broker(const QString &f, const QString &d, Kind k) : files(f), data(d), kind(k) {}
    ~Broker() { stop(); }

    bool start()
    {
        QString conf = QStringLiteral("listener %1 127.0.0.1\npersistence true\npersistence_location %2/\n").arg(port).arg(data);
        if (::geteuid() == 0)
            conf += "user root\n"; // else it drops to `mosquitto` and cannot read the files here
        conf += (kind == Kind::Auth ? QStringLiteral("allow_anonymous false\npassword_file FILES/passwd\nacl_file FILES/acl\n")
                 : kind == Kind::Tls ? QStringLiteral("allow_anonymous true\ncafile FILES/ca.crt\ncertfile FILES/ca.crt\nkeyfile FILES/ca.key\n")
                                     : QStringLiteral("allow_anonymous true\n")).replace("FILES", files);
        QFile file(data + "/broker.conf");
        if (!file.open(QIODevice::WriteOnly) || file.write(conf.toUtf8()) < 0 || !file.flush())
            return false;
        process.start("mosquitto", {"-c", file.fileName()});
        QByteArray log; // it says "running" once it listens
        return QTest::qWaitFor([&] { return (log += process.readAllStandardError()).contains(" running"); }, waitMs);
    }
    void stop() { process.terminate(); process.waitForFinished(waitMs); }
};

// A persistent QoS 1 subscriber; it prints "topic payload" and (-d) its exchanges.
struct Subscriber : QProcess
{
    Subscriber(const QString &dir, Kind kind, int port)
    {
        QStringList arguments{"-h", "127.0.0.1", "-p", QString::number(port), "-i", "tst-mqtt-sub", "-c", "-q", "1", "-t", "meterlink/#", "-v", "-d"};
        if (kind == Kind::Auth)
            arguments << "-u" << "alice" << "-P" << "secret";
        if (kind == Kind::Tls)
            arguments << "--cafile" << dir + "/ca.crt";
        start("stdbuf", QStringList{"-oL", "mosquitto_sub"} + arguments); // each line as it comes
    }
    ~Subscriber() override { terminate(); waitForFinished(waitMs); }
    bool subscribed() { return (output += readAllStandardOutput()).contains("received SUBACK"); }
    QList<QByteArray> got(const QByteArray &kind)
    {
        output += readAllStandardOutput();
        QList<QByteArray> payloads;
        for (const QByteArray &line : output.left(output.lastIndexOf('\n')).split('\n'))
            if (const qsizetype blank = line.indexOf(' '); line.startsWith("meterlink/") && line.left(blank).endsWith('/' + kind))
                if (!payloads.contains(line.mid(blank + 1))) // at least once: a payload sent again counts once
                    payloads << line.mid(blank + 1);
        return payloads;
    }
    QByteArray output;
};

int countIn(const QByteArray &text, const QString &pattern)
{
    return QRegularExpression(pattern).match(QString::fromUtf8(text)).captured(1).toInt();
}

} // namespace

class MqttTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void publish_data();
    void publish();
    void queue_data();
    void queue();

private:
    QTemporaryDir dir_;
};

void MqttTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    const QString d = dir_.path();
    for (const auto &[name, text] : {std::pair{"acl", "user alice\ntopic readwrite meterlink/#\n"}, std::pair{"good", "secret\n"},
                                     std::pair{"bad", "guessed\n"}}) {
        QFile file(d + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
    }
    const QStringList newKey{"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2"};
    // The broker's certificate is its own authority.
    for (const QStringList &command : {newKey + QStringList{"-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", d + "/ca.key", "-out", d + "/ca.crt"},
                                       newKey + QStringList{"-subj", "/CN=stranger", "-keyout", d + "/other.key", "-out", d + "/other.crt"},
                                       {"mosquitto_passwd", "-c", "-b", d + "/passwd", "alice", "secret"}}) {
        QProcess process;
        process.start(command[0], command.mid(1));
        QVERIFY2(process.waitForFinished(waitMs) && process.exitCode() == 0, qPrintable(command.join(' ')));
    }
}
void MqttTest::publish_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Event>("event");
    QTest::addColumn<int>("exitCode"); // -1: killed
    QTest::addColumn<QString>("error"); // a pattern standard error matches
    const QStringList user{"--mqtt-user", "alice", "--mqtt-password-file", "DIR/good"};
    const QStringList continuous{"--continuous"};

    QTest::newRow("published equals the jsonl file") << Kind::Plain << QStringList{"--samples", "8"} << Event::None << 0 << "^$";
    QTest::newRow("QoS 0 with an interval") << Kind::Plain << QStringList{"--samples", "3", "--interval", "0.3", "--mqtt-qos", "0"} << Event::None << 0 << "^$";
    QTest::newRow("user, password, access list") << Kind::Auth << user + QStringList{"--samples", "4"} << Event::None << 0 << "^$";
    QTest::newRow("TLS") << Kind::Tls << QStringList{"--samples", "4", "--mqtt-ca", "DIR/ca.crt"} << Event::None << 0 << "^$";
    QTest::newRow("broker restarted: nothing lost, in order") << Kind::Plain << continuous << Event::Restart << 0
                                                             << "trying again\n.*connected to 127.0.0.1:\\d+ again\n$";
    QTest::newRow("queue full: oldest dropped, counted") << Kind::Plain << continuous << Event::StartLate << 0
                                                        << "oldest readings dropped so far\n(.*\n)?.* (\\d+) readings dropped \\(queue full\\)\n$";
    QTest::newRow("no broker: counted as not sent") << Kind::Plain << QStringList{"--samples", "3"} << Event::Absent << 0
                                                   << "Connection refused; readings wait in memory, trying again\n.*: 3 readings not sent\n$";
    QTest::newRow("killed: the will says offline") << Kind::Plain << continuous << Event::Kill << -1 << "^$";
    QTest::newRow("wrong password") << Kind::Auth << QStringList{"--mqtt-user", "alice", "--mqtt-password-file", "DIR/bad"}
                                   << Event::None << 1 << "^meterlink-cli: mqtt: broker 127.0.0.1:\\d+ refused the connection: Not authorized\n$";
    // Mosquitto acknowledges a denied QoS 1 publication; its MQTT 5 reason
    // says so, on the retained status first.
    QTest::newRow("topic outside the access list") << Kind::Auth << user + QStringList{"--mqtt-topic", "other/x"} << Event::None << 1
                                                  << "^meterlink-cli: mqtt: broker 127.0.0.1:\\d+ refused publishing to other/x/status: Not authorized\n$";
    QTest::newRow("certificate does not verify") << Kind::Tls << QStringList{"--mqtt-ca", "DIR/other.crt"} << Event::None << 1
                                                << "^meterlink-cli: mqtt: broker 127.0.0.1:\\d+ failed the TLS handshake: .*certificate verify failed\n$";
}

void MqttTest::publish()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, arguments);
    QFETCH(Event, event);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    QTemporaryDir rowDir;
    Broker broker(dir_.path(), rowDir.path(), kind);
    QVERIFY(broker.start());
    Subscriber subscriber(dir_.path(), kind, broker.port);
    QVERIFY(QTest::qWaitFor([&] { return subscriber.subscribed(); }, waitMs));
    if (event == Event::StartLate || event == Event::Absent) // the subscriber's session waits in the broker
        broker.stop();

    const QString scheme = kind == Kind::Tls ? "mqtts" : "mqtt";
    QProcess cli;
    qputenv("METERLINK_MQTT_QUEUE_BYTES", event == Event::StartLate ? "1200" : "1000000"); // the program inherits it
    if (!arguments.contains("--mqtt-topic"))
        arguments << "--mqtt-topic" << "meterlink/t";
    cli.start(CLI_PROGRAM, arguments.replaceInStrings("DIR", dir_.path())
                               + QStringList{"--port", "emulator", "-O", "jsonl", "-o", rowDir.filePath("out.jsonl"),
                                             "--mqtt", QString("%1://127.0.0.1:%2").arg(scheme).arg(broker.port)});
    QByteArray err;
    QObject::connect(&cli, &QProcess::readyReadStandardError, [&] { err += cli.readAllStandardError(); });
    const auto waitFor = [&](auto condition) { return QTest::qWaitFor(condition, waitMs); };
    const auto received = [&] { return subscriber.got("reading").size(); };
    if (event == Event::Restart) {
        QVERIFY(waitFor([&] { return received() >= 3; }));
        broker.stop();
        QVERIFY(waitFor([&] { return err.contains("trying again"); }));
        const qsizetype before = received();
        QVERIFY(broker.start());
        QVERIFY(waitFor([&] { return received() >= before + 3; }));
    } else if (event == Event::StartLate) {
        QVERIFY(waitFor([&] { return err.contains("dropped so far"); }));
        QVERIFY(broker.start());
        QVERIFY(waitFor([&] { return received() >= 3; }));
    } else if (event == Event::Kill) {
        QVERIFY(waitFor([&] { return received() >= 2; }));
        cli.kill();
    }
    if (arguments.contains("--continuous") && event != Event::Kill)
        cli.terminate();
    QVERIFY(cli.waitForFinished(waitMs));
    err += cli.readAllStandardError();
    QCOMPARE(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, exitCode);
    QVERIFY2(QRegularExpression(error).match(QString::fromUtf8(err)).hasMatch(), err.constData());
    if (exitCode == 1)
        return;

    QFile file(rowDir.filePath("out.jsonl"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> written = file.readAll().split('\n');
    const int dropped = countIn(err, " (\\d+) readings dropped");
    const int notSent = countIn(err, " (\\d+) readings not sent");
    const QList<QByteArray> expected = written.mid(dropped, written.size() - 1 - dropped - notSent);
    if (event != Event::Kill) { // the last may come after the program's end
        waitFor([&] { return received() >= expected.size(); });
        QCOMPARE(subscriber.got("reading"), expected);
    }
    QVERIFY(event == Event::StartLate ? dropped > 0 : dropped == 0);
    if (event == Event::Absent) {
        QVERIFY(subscriber.got("status").isEmpty());
        return;
    }
    // "online" retained on connecting; "offline" from the will, on a kill as on a clean end.
    QVERIFY(waitFor([&] { return subscriber.got("status").size() >= 2 && subscriber.got("status").constLast() == "offline"; }));
    QCOMPARE(subscriber.got("status").constFirst(), "online");
}

// The order and the losses that a broker's timing rarely shows: steps "+x"
// push x (1 + 64 bytes), "t" take the next, "k1" acknowledge number 1,
// "r" rewind as a new connection does.
void MqttTest::queue_data()
{
    QTest::addColumn<qint64>("ceiling");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("taken");
    QTest::addColumn<qint64>("dropped");
    QTest::addColumn<qint64>("left");
    QTest::newRow("unacknowledged sent again, in order") << 1000LL << "+a +b +c t t t k1 r t t t" << "0a 1b 2c 0a 2c" << 0LL << 2LL;
    QTest::newRow("acknowledged out of order") << 1000LL << "+a +b t t k1 k0 r t" << "0a 1b" << 0LL << 0LL;
    QTest::newRow("full: the oldest go") << 195LL << "+a +b +c +d t" << "1b" << 1LL << 3LL;
    QTest::newRow("dropped in flight, its ack ignored") << 130LL << "+a +b t +c k0 t k1 t" << "0a 1b 2c" << 1LL << 1LL;
    QTest::newRow("bigger than the ceiling") << 50LL << "+a t" << "" << 1LL << 0LL;
}

void MqttTest::queue()
{
    QFETCH(qint64, ceiling);
    QFETCH(QString, steps);
    mqtt::ReadingQueue queue(ceiling);
    QStringList taken;
    qint64 dropped = 0;
    for (const QString &step : steps.split(' ')) {
        if (step.startsWith('+'))
            dropped += queue.push(step.mid(1).toUtf8());
        else if (step == "r")
            queue.rewind();
        else if (step.startsWith('k'))
            queue.acknowledge(step.mid(1).toLongLong());
        else if (const auto next = queue.takeNext())
            taken << QString::number(next->number) + QString::fromUtf8(next->payload);
    }
    QTEST(taken.join(' '), "taken");
    QTEST(dropped, "dropped");
    QTEST(queue.size(), "left");
    QVERIFY(queue.bytes() <= ceiling);
    QCOMPARE(queue.bytes() == 0, queue.empty());
}

QTEST_GUILESS_MAIN(MqttTest)
#include "tst_mqtt.moc"
