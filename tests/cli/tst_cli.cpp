// meterlink-cli end to end against meter-emulator on a pseudo-terminal (or
// a missing device): options in; output, messages and exit status out.

#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString cliProgram = QStringLiteral(CLI_PROGRAM);

struct Result
{
    int exitCode = -1;
    QByteArray out, err;
};

Result runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(cliProgram, arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    process.waitForFinished(1000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "(missing)";
}

// meter-emulator behind a symbolic link: a meter started again has the same path.
struct Meter
{
    explicit Meter(const QString &path) : link(path) {}
    ~Meter() { process.terminate(); process.waitForFinished(5000); }
    bool start(const QStringList &arguments)
    {
        process.start(QStringLiteral(EMULATOR_PROGRAM), arguments + QStringList{"--link", link});
        return process.waitForStarted(5000) && process.waitForReadyRead(5000);
    }
    QStringList port() const { return {"--port", link}; }

    QString link;
    QProcess process;
};

// The emulated meter shows -01.234 V in the 50 V range, DC, auto ranging.
const QStringList fixedMeter{"--fast", "--rate", "10", "--code", "42", "--value", "12340", "--status", "19"};
const QString iso = QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d");
const QString csvHeader = QStringLiteral("time,value,function,range,flags,display\\n");
const QString analog = QStringLiteral("(\\d\\d:\\d\\d:\\d\\d  -01\\.234 V 50 V DC Auto\\n)");
const QString noPort = QStringLiteral("-"), gone = QStringLiteral("/dev/meterlink-none");

} // namespace

class CliTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); QVERIFY(dir_->isValid()); }
    void run_data();
    void run();
    void settingsReachTheMeter();
    void linkLostAndBack();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString &name) const { return dir_->filePath(name); }
};

void CliTest::run_data()
{
    // meter: emulator arguments, or "-" (no --port), or a device that does not exist.
    QTest::addColumn<QStringList>("meter");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // the whole of standard output, or of the -o file
    QTest::addColumn<QString>("err"); // the whole of standard error
    QTest::addColumn<int>("runs");
    const auto row = [](const char *name, QStringList meter, QStringList arguments, int exitCode, QString out, QString err = {},
                        int runs = 1) { QTest::newRow(name) << meter << arguments << exitCode << out << err << runs; };
    const auto bad = [&](const char *name, QStringList arguments, const QString &error) {
        // A usage error comes before the port is even opened: exit 2, not the open failure's 1.
        row(name, {gone}, arguments, 2, {}, "[^\\n]*" + QRegularExpression::escape(error) + "[^\\n]*\\n");
    };
    const QStringList logger{"--fast"};

    row("analog, one sample by default", fixedMeter, {}, 0, analog + "{1}");
    row("csv to a file, replaced at every run", fixedMeter, {"--samples", "3", "-O", "csv", "-o", "DIR/live.csv"}, 0,
        csvHeader + "(" + iso + ",-1\\.234,V,50 V,DC Auto,-01\\.234\\n){3}", {}, 2);
    row("dat to a file: appended, numbered from 1 at every run, CR LF", fixedMeter, {"--samples", "2", "-O", "dat", "-o", "DIR/b.dat"}, 0,
        "(1(\\t\\d\\d-\\d\\d-\\d\\d\\t\\d\\d:\\d\\d:\\d\\d\\t-01\\.234\\tV\\t50 V\\tDC\\t\\r\\n)2(?2)){2}", {}, 2);
    row("file that cannot be written", fixedMeter, {"-O", "csv", "-o", "DIR/none/x.csv"}, 1, "\\(missing\\)",
        "[\\s\\S]*cannot write to .*/none/x\\.csv[\\s\\S]*");
    // At 10 frames a second: the time ends it long before the samples would.
    row("interval takes the newest frame, time limit", fixedMeter, {"--samples", "1000", "--interval", "0.3", "--time", "1s"}, 0,
        analog + "{2,4}");
    row("silent meter", {"--fault", "silence"}, {"-O", "csv"}, 1, csvHeader,
        "[^\\n]*no data from .*: is the meter switched on and its RS-232 output enabled\\?\\n");
    row("device that does not exist", {gone}, {}, 1, {}, "[^\\n]*/dev/meterlink-none.*No such file[\\s\\S]*");
    QString help; // every option, and an example for each
    for (const char *option : {"--port", "--list-ports", "--samples", "--time", "--continuous", "--interval", "--output-format", "--output-file",
                               "--logger-status", "--list-sets", "--download", "--get-clock", "--set-clock", "--set-id", "--set-sampling", "--set-memory-ics"})
        help += QStringLiteral("(?=[\\s\\S]*%1)").arg(QLatin1String(option));
    row("help names every option", {noPort}, {"--help"}, 0, help + "([\\s\\S]*?\\n {20,}meterlink-cli ){16}[\\s\\S]*");

    row("list of sets", logger, {"--list-sets"}, 0,
        "1  24-03-14 08:00:00  20\\n2  24-03-14 12:30:15  50\\n3  00-02-28 23:59:55  3\\n4  24-03-15 09:00:00  12\\n");
    // A download, its dates across 29 February 2000, and its statistics on standard error.
    row("download as CSV with statistics", logger, {"--download", "3", "-O", "csv", "--stats"}, 0,
        csvHeader + "2000-02-28T23:59:55,0\\.1235,Ohm,5K Ohm,,0\\.1235\\n2000-02-29T00:00:00,0\\.1235,Ohm,5K Ohm,,0\\.1235\\n"
                    "2000-02-29T00:00:05,0\\.1236,Ohm,5K Ohm,,0\\.1236\\n",
        "Function: Ohm\\nReadings: 3\\nMinimum: 0\\.1235 \\(record 1, [^)]+\\)\\nMaximum: 0\\.1236 \\(record 3, [^)]+\\)\\n"
        "Mean: 0\\.12353\\nStandard deviation: 0\\.00006\\nLeft out: 0 overloaded, 0 of another function, 0 without a reading\\n");
    row("download to a file as the list's SAVE writes it", logger, {"--download", "3", "-o", "DIR/set3.txt"}, 0,
        QRegularExpression::escape("\"1\t00-02-28\t23:59:55\t 0.1235\tOhm\t5K Ohm\t\t\t\"\r\n\"2\t00-02-29\t00:00:00\t 0.1235\tOhm\t5K Ohm\t\t\t\"\r\n"
                                   "\"3\t00-02-29\t00:00:05\t 0.1236\tOhm\t5K Ohm\t\t\t\"\r\n"));
    row("set that does not exist", logger, {"--download", "9"}, 1, {}, "[^\\n]*set 9 does not exist: the meter holds 4 set.*\\n");

    bad("samples zero", {"--samples", "0"}, "--samples wants");
    bad("time unit unknown", {"--time", "5q"}, "--time wants a duration");
    bad("interval too short", {"--interval", "0.05"}, "--interval wants seconds from 0.1 to 3600");
    bad("interval too long", {"--interval", "3600.001"}, "--interval wants");
    bad("format unknown", {"-O", "xml"}, "--output-format wants analog, csv, jsonl or dat");
    bad("id too large", {"--set-id", "70000"}, "--set-id wants a number from 1 to 65535");
    bad("sampling zero", {"--set-sampling", "0"}, "--set-sampling wants seconds from 1 to 32767");
    bad("odd memory ICs", {"--set-memory-ics", "3"}, "--set-memory-ics wants 2, 4, 6 or 8");
    bad("set 0", {"--download", "0"}, "--download wants a set number from 1 to 256");
    bad("two actions", {"--list-sets", "--get-clock"}, "two actions");
    bad("continuous with samples", {"--continuous", "--samples", "3"}, "--continuous");
    bad("live limit on an action", {"--logger-status", "--samples", "3"}, "--samples belongs");
    bad("unknown option", {"--sample", "3"}, "Unknown option 'sample'");
    bad("statistics of nothing", {"--list-sets", "--stats"}, "--stats belongs");
    bad("stray argument", {"3"}, "unexpected argument");
    bad("mqtt without a scheme", {"--mqtt", "broker:1883"}, "--mqtt wants mqtt://host[:port] or mqtts://host[:port], not \"broker:1883\"");
    bad("mqtt port out of range", {"--mqtt", "mqtt://broker:65536"}, "--mqtt wants mqtt://");
    bad("mqtt QoS 2", {"--mqtt", "mqtt://broker", "--mqtt-qos", "2"}, "--mqtt-qos wants 0 or 1, not \"2\"");
    bad("mqtt password file unreadable", {"--mqtt", "mqtt://b", "--mqtt-user", "u", "--mqtt-password-file", "/nonexistent"},
        "cannot read --mqtt-password-file /nonexistent");
    bad("mqtt CA without TLS", {"--mqtt", "mqtt://b", "--mqtt-ca", "/etc/hostname"}, "--mqtt-ca belongs to an mqtts:// broker");
    bad("mqtt wildcard topic", {"--mqtt", "mqtt://b", "--mqtt-topic", "lab/#"}, "--mqtt-topic wants a topic without + and #");
    bad("mqtt option without --mqtt", {"--mqtt-qos", "0"}, "--mqtt-qos needs --mqtt URL");
    bad("mqtt not a live run", {"--list-sets", "--mqtt", "mqtt://b"}, "--mqtt belongs to the live readings");
}

void CliTest::run()
{
    QFETCH(QStringList, meter);
    QFETCH(QStringList, arguments);
    Meter emulator(path("meter"));
    if (meter == QStringList{gone})
        arguments << "--port" << gone;
    else if (meter != QStringList{noPort}) {
        QVERIFY(emulator.start(meter));
        arguments << emulator.port();
    }
    arguments.replaceInStrings("DIR", dir_->path());
    QFETCH(int, runs);
    Result result;
    for (int run = 0; run < runs; ++run)
        result = runCli(arguments);
    QTEST(result.exitCode, "exitCode");
    QFETCH(QString, out);
    QFETCH(QString, err);
    const qsizetype o = arguments.indexOf("-o");
    QVERIFY(o < 0 || result.out.isEmpty());
    const QByteArray written = o < 0 ? result.out : readFile(arguments[o + 1]);
    const auto whole = [](const QString &pattern) { return QRegularExpression(QRegularExpression::anchoredPattern(pattern)); };
    QVERIFY2(whole(out).match(QString::fromUtf8(written)).hasMatch(), written + result.err);
    QVERIFY2(whole(err).match(QString::fromLocal8Bit(result.err)).hasMatch(), result.err);
}

void CliTest::settingsReachTheMeter()
{
    Meter emulator(path("meter"));
    QVERIFY(emulator.start({"--fast"}));
    for (const QStringList &setting : {QStringList{"--set-id", "4711"}, {"--set-sampling", "7"}, {"--set-memory-ics", "8"}, {"--set-clock"}})
        QCOMPARE(runCli(setting + emulator.port()).exitCode, 0);
    const Result status = runCli(QStringList{"--logger-status"} + emulator.port());
    QCOMPARE(status.out, QByteArray("memory size: 256 K\nremaining memory: 255.5 K\nID code: 4711\n"
                                    "sampling time: 7 s\nnumber of sets: 4\n"));
    const Result read = runCli(QStringList{"--get-clock"} + emulator.port());
    const QDateTime meterTime = QDateTime::fromString(QString::fromLatin1(read.out.trimmed()), Qt::ISODate);
    QVERIFY2(read.exitCode == 0 && qAbs(meterTime.secsTo(QDateTime::currentDateTime())) < 10, read.out);
}

void CliTest::linkLostAndBack()
{
    auto emulator = std::make_unique<Meter>(path("meter"));
    QVERIFY(emulator->start(fixedMeter));
    QProcess cli;
    cli.start(cliProgram, QStringList{"--continuous", "-O", "jsonl"} + emulator->port());
    QByteArray out, err;
    QTRY_VERIFY_WITH_TIMEOUT((out += cli.readAllStandardOutput()).count('\n') >= 3, 10000);
    emulator.reset(); // the meter goes away: its pty is closed
    QTRY_VERIFY_WITH_TIMEOUT((err += cli.readAllStandardError()).contains("lost"), 10000);
    QCOMPARE(err.count('\n'), 1);
    const qsizetype before = (out += cli.readAllStandardOutput()).count('\n');
    emulator = std::make_unique<Meter>(path("meter"));
    QVERIFY(emulator->start(fixedMeter));
    QTRY_VERIFY_WITH_TIMEOUT((out += cli.readAllStandardOutput()).count('\n') >= before + 2, 10000);
    cli.terminate(); // ends cleanly, on a whole line
    QVERIFY(cli.waitForFinished(5000) && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0);
    QVERIFY((out += cli.readAllStandardOutput()).endsWith('\n'));
    for (const QByteArray &line : out.trimmed().split('\n'))
        QVERIFY2(QJsonDocument::fromJson(line).isObject(), line);
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
