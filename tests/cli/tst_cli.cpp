// meterlink-cli end to end: the built program run against meter-emulator on
// a pseudo-terminal (and against its built-in emulator), options in, output
// lines, bytes and exit status out. Every wait is bounded.

#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString cliProgram = QStringLiteral(CLI_PROGRAM);
const QString emulatorProgram = QStringLiteral(EMULATOR_PROGRAM);
constexpr int runLimitMs = 20000;

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(cliProgram, arguments);
    if (!process.waitForFinished(runLimitMs))
        process.kill();
    process.waitForFinished(1000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList lines(const QByteArray &bytes)
{
    QStringList all = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (!all.isEmpty() && all.constLast().isEmpty())
        all.removeLast();
    return all;
}

// meter-emulator serving a pty behind a symbolic link that outlives it, so
// that a meter started again is found at the same path.
class Meter
{
public:
    explicit Meter(const QString &link) : link_(link) {}
    ~Meter() { stop(); }

    bool start(const QStringList &arguments)
    {
        process_.start(emulatorProgram, arguments + QStringList{"--link", link_});
        return process_.waitForStarted(5000) && process_.waitForReadyRead(5000);
    }
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(1000);
    }
    QString link() const { return link_; }

private:
    QString link_;
    QProcess process_;
};

// The emulated meter shows -01.234 V in the 50 V range, DC, auto ranging.
const QStringList fixedMeter{"--fast", "--rate", "10", "--code", "42", "--value", "12340",
                             "--status", "19"};

const QString isoTime = QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d");

} // namespace

class CliTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void live_data();
    void live();
    void logger_data();
    void logger();
    void badOptions_data();
    void badOptions();
    void settingsReachTheMeter();
    void outputFiles();
    void signalEndsCleanly();
    void linkLostAndBack();
    void helpNamesEveryOption();
    void listPorts();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString &name) const { return dir_->filePath(name); }
};

void CliTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void CliTest::live_data()
{
    QTest::addColumn<QStringList>("meter"); // empty: --port emulator
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("minLines");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QString>("line"); // every line after a header
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("error");

    QTest::newRow("analog, one sample by default")
        << fixedMeter << QStringList{} << 0 << 1 << 1
        << "\\d\\d:\\d\\d:\\d\\d  -01\\.234 V 50 V DC Auto" << "" << "";
    QTest::newRow("csv")
        << fixedMeter << QStringList{"--samples", "3", "-O", "csv"} << 0 << 4 << 4
        << isoTime + ",-1\\.234,V,50 V,DC Auto,-01\\.234" << "time,value,function,range,flags,display" << "";
    QTest::newRow("jsonl")
        << fixedMeter << QStringList{"--samples", "2", "--output-format", "jsonl"} << 0 << 2 << 2
        << "\\{\"time\":\"" + isoTime
               + "\",\"value\":-1\\.234,\"function\":\"V\",\"range\":\"50 V\",\"flags\":\\[\"DC\",\"Auto\"\\],\"display\":\"-01\\.234\"\\}"
        << "" << "";
    QTest::newRow("dat, numbered from 1, CR LF")
        << fixedMeter << QStringList{"--samples", "2", "-O", "dat"} << 0 << 2 << 2
        << "[12]\\t\\d\\d-\\d\\d-\\d\\d\\t\\d\\d:\\d\\d:\\d\\d\\t-01\\.234\\tV\\t50 V\\tDC\\t\\r" << "" << "";
    QTest::newRow("overload, low battery, MIN")
        << QStringList{"--fast", "--code", "80", "--status", "2e"} << QStringList{"-O", "csv"} << 0 << 2 << 2
        << isoTime + ",,mV,500 mV,DC Range LOW_BATTERY OL MIN,OL" << "time,value,function,range,flags,display" << "";
    QTest::newRow("time limit before the samples")
        << fixedMeter << QStringList{"--samples", "1000", "--time", "1s"} << 0 << 5 << 14
        << "\\d\\d:\\d\\d:\\d\\d  -01\\.234 V 50 V DC Auto" << "" << "";
    QTest::newRow("interval takes the newest frame")
        << fixedMeter << QStringList{"--interval", "0.3", "--time", "1s"} << 0 << 2 << 4
        << "\\d\\d:\\d\\d:\\d\\d  -01\\.234 V 50 V DC Auto" << "" << "";
    QTest::newRow("silent meter")
        << QStringList{"--fault", "silence"} << QStringList{"-O", "csv"} << 1 << 1 << 1 << "" << "time,value,function,range,flags,display"
        << "no data from .*: is the meter switched on and its RS-232 output enabled\\?";
    QTest::newRow("built-in emulator")
        << QStringList{} << QStringList{"--samples", "2", "-O", "jsonl"} << 0 << 2 << 2
        << "\\{\"time\":\"" + isoTime + "\",\"value\":[0-9.]+,\"function\":\"mV\",.*\\}" << "" << "";
    QTest::newRow("device that does not exist")
        << QStringList{} << QStringList{"--port", "/dev/meterlink-none"} << 1 << 0 << 0 << "" << ""
        << "/dev/meterlink-none.*No such file";
}

void CliTest::live()
{
    QFETCH(QStringList, meter);
    QFETCH(QStringList, arguments);
    QFETCH(QString, header);
    Meter emulator(path("meter"));
    if (!meter.isEmpty()) {
        QVERIFY(emulator.start(meter));
        arguments << "--port" << emulator.link();
    } else if (!arguments.contains("--port")) {
        arguments << "--port" << "emulator";
    }
    const Result result = runCli(arguments);
    QTEST(result.exitCode, "exitCode");
    QStringList got = lines(result.out);
    QFETCH(int, minLines);
    QFETCH(int, maxLines);
    QVERIFY2(got.size() >= minLines && got.size() <= maxLines, result.out + result.err);
    if (!header.isEmpty())
        QCOMPARE(got.takeFirst(), header);
    QFETCH(QString, line);
    const QRegularExpression each(QLatin1Char('^') + line + QLatin1Char('$'));
    for (const QString &text : got)
        QVERIFY2(each.match(text).hasMatch(), qPrintable(text));
    QFETCH(QString, error);
    if (error.isEmpty())
        QCOMPARE(result.err, QByteArray());
    else
        QVERIFY2(QRegularExpression(error).match(QString::fromLocal8Bit(result.err)).hasMatch(),
                 result.err);
}

void CliTest::logger_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("error");

    QTest::newRow("status") << QStringList{"--logger-status"} << 0
                            << QByteArray("memory size: 128 K\nremaining memory: 127.5 K\nID code: 1234\n"
                                          "sampling time: 2 s\nnumber of sets: 4\n")
                            << "";
    QTest::newRow("sets") << QStringList{"--list-sets"} << 0
                          << QByteArray("1  24-03-14 08:00:00  20\n2  24-03-14 12:30:15  50\n"
                                        "3  00-02-28 23:59:55  3\n4  24-03-15 09:00:00  12\n")
                          << "";
    QTest::newRow("download as the list's SAVE")
        << QStringList{"--download", "3"} << 0
        << QByteArray("\"1\t00-02-28\t23:59:55\t 0.1235\tOhm\t5K Ohm\t\t\t\"\r\n"
                      "\"2\t00-02-29\t00:00:00\t 0.1235\tOhm\t5K Ohm\t\t\t\"\r\n"
                      "\"3\t00-02-29\t00:00:05\t 0.1236\tOhm\t5K Ohm\t\t\t\"\r\n")
        << "";
    QTest::newRow("download as CSV across 29 February 2000")
        << QStringList{"--download", "3", "-O", "csv"} << 0
        << QByteArray("time,value,function,range,flags,display\n"
                      "2000-02-28T23:59:55,0.1235,Ohm,5K Ohm,,0.1235\n"
                      "2000-02-29T00:00:00,0.1235,Ohm,5K Ohm,,0.1235\n"
                      "2000-02-29T00:00:05,0.1236,Ohm,5K Ohm,,0.1236\n")
        << "";
    QTest::newRow("set that does not exist") << QStringList{"--download", "9"} << 1 << QByteArray()
                                             << "set 9 does not exist: the meter holds 4 set";
}

void CliTest::logger()
{
    QFETCH(QStringList, arguments);
    Meter emulator(path("meter"));
    QVERIFY(emulator.start({"--fast"}));
    const Result result = runCli(arguments << "--port" << emulator.link());
    QTEST(result.exitCode, "exitCode");
    QTEST(result.out, "out");
    QFETCH(QString, error);
    if (error.isEmpty())
        QCOMPARE(result.err, QByteArray());
    else
        QVERIFY2(QString::fromLocal8Bit(result.err).contains(error), result.err);
}

void CliTest::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("samples not a number") << QStringList{"--samples", "x"} << "--samples wants a whole number from 1";
    QTest::newRow("samples zero") << QStringList{"--samples", "0"} << "--samples wants";
    QTest::newRow("time unit unknown") << QStringList{"--time", "5q"} << "--time wants a duration";
    QTest::newRow("interval too short") << QStringList{"--interval", "0.05"} << "--interval wants seconds from 0.1 to 3600";
    QTest::newRow("interval too long") << QStringList{"--interval", "3600.001"} << "--interval wants";
    QTest::newRow("format unknown") << QStringList{"-O", "xml"} << "--output-format wants analog, csv, jsonl or dat";
    QTest::newRow("id too large") << QStringList{"--set-id", "70000"} << "--set-id wants a number from 1 to 65535";
    QTest::newRow("sampling zero") << QStringList{"--set-sampling", "0"} << "--set-sampling wants seconds from 1 to 32767";
    QTest::newRow("odd memory ICs") << QStringList{"--set-memory-ics", "3"} << "--set-memory-ics wants 2, 4, 6 or 8";
    QTest::newRow("set 0") << QStringList{"--download", "0"} << "--download wants a set number from 1 to 256";
    QTest::newRow("two actions") << QStringList{"--list-sets", "--get-clock"} << "two actions";
    QTest::newRow("continuous with samples") << QStringList{"--continuous", "--samples", "3"} << "--continuous";
    QTest::newRow("live limit on an action") << QStringList{"--logger-status", "--samples", "3"} << "--samples belongs";
    QTest::newRow("unknown option") << QStringList{"--sample", "3"} << "Unknown option 'sample'";
    QTest::newRow("stray argument") << QStringList{"3"} << "unexpected argument";
}

void CliTest::badOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    // A device that does not exist: a usage error must come before the port
    // is even opened (exit 2, not the open failure's 1).
    const Result result = runCli(arguments << "--port" << "/dev/meterlink-none");
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(lines(result.err).size(), 1);
    QVERIFY2(QString::fromLocal8Bit(result.err).contains(error), result.err);
}

void CliTest::settingsReachTheMeter()
{
    Meter emulator(path("meter"));
    QVERIFY(emulator.start({"--fast"}));
    const QStringList port{"--port", emulator.link()};
    QCOMPARE(runCli(QStringList{"--set-id", "4711"} + port).exitCode, 0);
    QCOMPARE(runCli(QStringList{"--set-sampling", "7"} + port).exitCode, 0);
    QCOMPARE(runCli(QStringList{"--set-memory-ics", "8"} + port).exitCode, 0);
    const Result status = runCli(QStringList{"--logger-status"} + port);
    QCOMPARE(status.exitCode, 0);
    QCOMPARE(status.out, QByteArray("memory size: 256 K\nremaining memory: 255.5 K\nID code: 4711\n"
                                    "sampling time: 7 s\nnumber of sets: 4\n"));
    const Result clock = runCli(QStringList{"--set-clock"} + port);
    QCOMPARE(clock.exitCode, 0);
    const Result read = runCli(QStringList{"--get-clock"} + port);
    QCOMPARE(read.exitCode, 0);
    const QDateTime meterTime = QDateTime::fromString(QString::fromLatin1(read.out.trimmed()), Qt::ISODate);
    QVERIFY2(qAbs(meterTime.secsTo(QDateTime::currentDateTime())) < 10, read.out);
}

void CliTest::outputFiles()
{
    Meter emulator(path("meter"));
    QVERIFY(emulator.start(fixedMeter));
    const QStringList port{"--port", emulator.link()};

    // dat appends, numbered from 1 at every run, as a recording does.
    const QString dat = path("bench.dat");
    for (int run = 0; run < 2; ++run)
        QCOMPARE(runCli(QStringList{"--samples", "2", "-O", "dat", "-o", dat} + port).exitCode, 0);
    QFile datFile(dat);
    QVERIFY(datFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> records = datFile.readAll().split('\n');
    QCOMPARE(records.size(), 5);
    QCOMPARE(QByteArrayList({records[0].left(2), records[1].left(2), records[2].left(2), records[3].left(2)}),
             QByteArrayList({"1\t", "2\t", "1\t", "2\t"}));

    // The others replace the file.
    const QString csv = path("live.csv");
    for (int run = 0; run < 2; ++run)
        QCOMPARE(runCli(QStringList{"--samples", "2", "-O", "csv", "-o", csv} + port).exitCode, 0);
    QFile csvFile(csv);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    QCOMPARE(lines(csvFile.readAll()).size(), 3);

    // A download to a file holds exactly what standard output gets.
    const Result shown = runCli(QStringList{"--download", "2", "-O", "jsonl"} + port);
    QCOMPARE(shown.exitCode, 0);
    QCOMPARE(lines(shown.out).size(), 50);
    const QString set = path("set2.jsonl");
    QCOMPARE(runCli(QStringList{"--download", "2", "-O", "jsonl", "-o", set} + port).exitCode, 0);
    QFile setFile(set);
    QVERIFY(setFile.open(QIODevice::ReadOnly));
    QCOMPARE(setFile.readAll(), shown.out);

    const Result failed = runCli(QStringList{"-o", path("none/x.csv"), "-O", "csv"} + port);
    QCOMPARE(failed.exitCode, 1);
    QVERIFY2(failed.err.contains("cannot write to " + path("none/x.csv").toLocal8Bit()), failed.err);
}

void CliTest::signalEndsCleanly()
{
    Meter emulator(path("meter"));
    QVERIFY(emulator.start(fixedMeter));
    QProcess cli;
    cli.start(cliProgram, {"--continuous", "-O", "jsonl", "--port", emulator.link()});
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += cli.readAllStandardOutput()).count('\n') >= 3, 10000);
    cli.terminate();
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    out += cli.readAllStandardOutput();
    QVERIFY(out.endsWith('\n'));
    for (const QString &line : lines(out))
        QVERIFY2(QJsonDocument::fromJson(line.toUtf8()).isObject(), qPrintable(line));
}

void CliTest::linkLostAndBack()
{
    auto emulator = std::make_unique<Meter>(path("meter"));
    QVERIFY(emulator->start(fixedMeter));
    QProcess cli;
    cli.start(cliProgram, {"--continuous", "-O", "csv", "--port", emulator->link()});
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += cli.readAllStandardOutput()).count('\n') >= 3, 10000);
    emulator.reset(); // the meter goes away: its pty is closed
    QByteArray err;
    QTRY_VERIFY_WITH_TIMEOUT((err += cli.readAllStandardError()).contains("lost"), 10000);
    QCOMPARE(lines(err).size(), 1);
    out += cli.readAllStandardOutput();
    const qsizetype before = out.count('\n');
    emulator = std::make_unique<Meter>(path("meter"));
    QVERIFY(emulator->start(fixedMeter));
    QTRY_VERIFY_WITH_TIMEOUT((out += cli.readAllStandardOutput()).count('\n') >= before + 2, 10000);
    cli.terminate();
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitCode(), 0);
}

void CliTest::helpNamesEveryOption()
{
    const Result help = runCli({"--help"});
    QCOMPARE(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    for (const char *option : {"--port", "--list-ports", "--samples", "--time", "--continuous",
                               "--interval", "--output-format", "--output-file", "--logger-status",
                               "--list-sets", "--download", "--get-clock", "--set-clock", "--set-id",
                               "--set-sampling", "--set-memory-ics"}) {
        QVERIFY2(text.contains(QLatin1String(option)), option);
    }
    // An example for each of them.
    QVERIFY(text.count(QRegularExpression(QStringLiteral("\\n {20,}meterlink-cli "))) >= 16);
}

void CliTest::listPorts()
{
    const Result result = runCli({"--list-ports"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    // Five fields a port, none empty: "-" stands in for a missing one.
    for (const QString &line : lines(result.out)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 5);
        QVERIFY2(!fields.contains(QString()) && fields.first().startsWith("/dev/"), qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
