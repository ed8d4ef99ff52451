// The logger on the scripted port: replies, requests, answers, SHOW DATA's
// download, and the windows' buttons driven by clicks and answers.

#include "common/meterreading.h"
#include "link/decoder.h"
#include "logger/commandbuffer.h"
#include "logger/download.h"
#include "logger/exchange.h"
#include "logger/inputnumber.h"
#include "logger/loggerrequests.h"
#include "logger/messages.h"
#include "logger/meterclock.h"
#include "logger/panelrequests.h"
#include "logger/polling.h"
#include "logger/setdirectory.h"
#include "logger/setselection.h"
#include "logger/statusblock.h"
#include "logger/ui/loggerwindowrig.h"
#include "platform/timer.h"
#include "support/testplatform.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using logger::Failure;
using loggertest::bytesOf;
using loggertest::entryBytes;
using loggertest::LoggerWindowRig;
using Result = logger::SetDownload::Result;
using Kind = logger::SetChoice::Kind;

Q_DECLARE_METATYPE(logger::Failure)
Q_DECLARE_METATYPE(logger::SetDownload::Result)

namespace {

constexpr int negative = 0x01, lowBattery = 0x02, overload = 0x04, dc = 0x08;
const QByteArray status = loggertest::statusBytes(4711, 98304, 5);
QByteArray rec(int code, int b1, int b2, int b3, int st) { return bytesOf({code, b1, b2, b3, st}); }

// A "K" reply: the header (start as BCD bytes, interval) and the records.
QByteArray setReply(const QList<int> &bcdStart, int interval, const QByteArrayList &records)
{
    QByteArray reply;
    for (int b : bcdStart)
        reply += char(b);
    return reply + bytesOf({0, 0, interval >> 8, interval & 0xFF, 0, 0}) + records.join();
}
// Three 500 mV records from 00-02-28 23:59:55, every 5 s.
const QByteArray leapDay = setReply({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 5,
                                    {rec(0x80, 1, 0, 0, dc), rec(0x80, 2, 0, 0, dc), rec(0x80, 3, 0, 0, dc)});

// The exchange over the scripted platform, with a manual Timer6 running at the start.
struct ExchangeRig : testsupport::TestPlatform
{
    platform::Timer timer6{platform::Timer::Mode::Manual};
    logger::TimerPolling polling{timer6};
    logger::Exchange exchange{{port, clock, pump, dialogs, polling}};

    ExchangeRig() { port.open(), timer6.setInterval(50), timer6.setEnabled(true), pump.setStepLimit(200'000); }
    void feedAfter(double seconds, const QByteArray &bytes) { atTime(seconds, [this, bytes] { port.feed(bytes); }); }
    void atTime(double seconds, std::function<void()> action) { pump.after(pump.advanced() + seconds, std::move(action)); }
};

// What the windows are told, in order ("status PLEASE WAIT.....", "texts V|50 V" ...), the rows apart.
class WindowsRecorder : public logger::DownloadWindows
{
public:
    explicit WindowsRecorder(const platform::Timer &timer6) : timer6_(timer6) {}
    QStringList events, rows;
    QList<qint64> decoding;
    bool pollingWhenCreated = true;
    QStringList progress() const { return QStringList(events.filter(QRegularExpression("^progress "))).replaceInStrings("progress ", ""); }
    void setMemoryButtonEnabled(bool on) override { events << (on ? "memory on" : "memory off"); }
    void closeRecordList() override { events << QStringLiteral("close list"); }
    void setStatusCaption(const QString &text) override { events << "status " + text; }
    void setProgressCaption(const QString &text) override { events << "progress " + text; }
    void createRecordList() override { pollingWhenCreated = timer6_.isEnabled(), events << QStringLiteral("create"); }
    void decodingRecord(qint64 n) override { decoding << n; }
    void appendRecordRow(const QString &row) override { rows << row; }
    void setFunctionRangeTexts(const QString &f, const QString &r) override { events << "texts " + f + '|' + r; }
    void disableShowData() override { events << QStringLiteral("show data off"); }
    void showRecordList(const QString &summary, qint64 row) override { events << "show " + summary + '|' + QString::number(row); }

private:
    const platform::Timer &timer6_;
};

struct Rig : ExchangeRig
{
    loggertest::ScriptedMeter meter{port, pump};
    common::SharedValues shared;
    logger::LoggerCommandBuffer buffer;
    logger::LoggerRequests requests{exchange, buffer};
    WindowsRecorder windows{timer6};
    logger::SetDownload download{{exchange, buffer, shared, windows}};
    bool pollingWhenRequested = true;

    // The reply to "K" in pieces, each `times[i]` seconds after the request.
    void answerK(const QByteArrayList &pieces, const QList<double> &times)
    {
        meter.watch([this, pieces, times](const QString &key) {
            pollingWhenRequested = key == QLatin1String("K") ? timer6.isEnabled() : pollingWhenRequested;
            for (qsizetype i = 0; key == QLatin1String("K") && i < pieces.size(); ++i)
                feedAfter(times[i], pieces[i]);
        });
    }
    Result run(int set, qint64 expected, bool lastSet = false, const QString &fn = {}, const QString &range = {}) { return download.run({set, expected, lastSet, fn, range}); }
    // The rows of a set downloaded in one piece, each without its number.
    QStringList rowsOf(const QByteArray &reply, const QString &fn = {}, const QString &range = {})
    {
        answerK({reply}, {0.1});
        if (run(1, (reply.size() - 12) / 5, false, fn, range) != Result::Listed)
            return {QStringLiteral("not listed")};
        return QStringList(windows.rows).replaceInStrings(QRegularExpression("^\\d+\t"), QString());
    }
};

// Chunks at clock seconds; bytes read, left waiting; endsBy: at most, and a time-out no more than 0.05 s earlier.
struct CollectRow { QString how; QList<double> times; QByteArrayList chunks; Failure failure; qsizetype bytesRead; int leftWaiting; double endsBy; QList<qint64> progress = {}; };

// Progress before the cleared caption; endsBy: clock seconds, at most; how: "empty", "busy",
// "ending", "lost", "set N" (else set 4), "flag" (the value flag), "last" (the last set).
struct DownloadRow { QByteArrayList pieces; QList<double> times; QStringList progress; Result result; double endsBy; QString message = {}, how = {}; };
struct RowsRow { QList<int> start; int interval; QByteArrayList records; QStringList cells; int from = 2; double scaleMax = 0; int to = -1; };

struct TextRow { QString kind, in, out; QByteArray bytes = {}; };
const QStringList openingRequests{"A", "Y", "R134", "R135", " "};
const QStringList listRequests{"A", "R135", "A", "I", " ", " "};
struct OpeningRow { int sets, code; bool silent; QString remaining; };
struct ClickRow { QString button, answer; bool loggerOpen; QString asked; QByteArrayList sent; QString polling, shown; QStringList messages; };

} // namespace

Q_DECLARE_METATYPE(CollectRow)
Q_DECLARE_METATYPE(TextRow)
Q_DECLARE_METATYPE(DownloadRow)
Q_DECLARE_METATYPE(RowsRow)
Q_DECLARE_METATYPE(OpeningRow)
Q_DECLARE_METATYPE(ClickRow)

class LoggerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void collect_data()
    {
        // How: 10 bytes by count, the 10-byte status (read once the line is
        // quiet), exactly 6 (the clock), 24 accumulated (two directory entries).
        QTest::addColumn<CollectRow>("r");
        const auto row = [](const char *name, CollectRow r) { QTest::newRow(name) << r; };
        const QByteArray ten(10, 'x');
        using F = Failure;
        row("in two parts", {"count", {0.1, 0.3}, {"abcd", "efghij"}, F::None, 10, 0, 0.32});
        row("too late", {"count", {2.5}, {ten}, F::TimedOut, 0, 0, 2.02});
        row("nine and no more", {"count", {0.1}, {QByteArray(9, 'x')}, F::TimedOut, 0, 9, 2.02});
        // A byte time after the count: part of the reply only when judged by length.
        row("count reached, the 11th a byte time later, not waited for", {"count", {0.1, 0.108}, {ten, "y"}, F::None, 10, 0, 0.107});
        row("status, the 11th a byte time later, read with it", {"status", {0.1, 0.108}, {ten, "y"}, F::None, 11, 0, 0.14});
        row("clock six then one more later", {"exactly", {0.2, 0.4}, {"123456", "7"}, F::None, 6, 0, 0.24});
        row("clock seven, the seventh a byte time later", {"exactly", {0.2, 0.208}, {"123456", "7"}, F::WrongLength, 0, 7, 0.24});
        row("clock five", {"exactly", {0.2}, {"12345"}, F::TimedOut, 0, 5, 3.045}); // 3 s + 6 bytes
        row("longer than expected: the rest left unread", {"accumulate", {0.1}, {QByteArray(30, 'x')}, F::None, 24, 6, 0.12, {24}});
        // 3 s and twice 24 byte times on the line.
        row("a trickle slower than the line", {"accumulate", {0.5, 1.5, 2.5, 3.5}, {"a", "b", "c", "d"}, F::TimedOut, 3, 0, 3.22, {1, 2, 3}});
    }

    void collect()
    {
        QFETCH(CollectRow, r);
        ExchangeRig rig;
        for (qsizetype i = 0; i < r.times.size(); ++i)
            rig.feedAfter(r.times.at(i), r.chunks.at(i));
        QList<qint64> seen;
        const logger::Reply reply = r.how == "accumulate" ? rig.exchange.accumulate(24, logger::accumulateLimits(24), [&](qint64 n) { seen.append(n); })
                                    : r.how == "exactly"  ? rig.exchange.collectExactly(6, logger::replyLimitSeconds(6))
                                                          : rig.exchange.collectCount(10, logger::statusReplySeconds, r.how == "status");
        QCOMPARE(reply.failure, r.failure);
        QCOMPARE((QList<qsizetype>{reply.bytes.size(), rig.port.bytesWaiting()}), (QList<qsizetype>{r.bytesRead, r.leftWaiting}));
        QCOMPARE(seen, r.progress);
        const double t = rig.pump.advanced();
        QVERIFY2(t <= r.endsBy && (r.failure != Failure::TimedOut || t >= r.endsBy - 0.05), qPrintable(QString::number(t)));
    }

    void attentionAndEnding()
    {
        ExchangeRig rig;
        rig.feedAfter(0.2, "\x02\x80\x12"); // the end of a live frame
        QVERIFY(rig.exchange.attention(logger::attentionSeconds));
        QVERIFY(rig.port.sent() == QByteArrayList{"A"} && rig.port.readLengths() == QList<int>{0});
        QVERIFY(rig.pump.advanced() >= 0.5 && rig.pump.advanced() < 0.52 && rig.port.bytesWaiting() == 0);
        {
            auto first = rig.exchange.tryLock(); // one operation at a time
            QVERIFY(first && !rig.exchange.tryLock());
            auto moved = std::move(*first);
            first.reset(); // the moved-from lock releases nothing
            QVERIFY(rig.exchange.busy());
        }
        QVERIFY(!rig.exchange.busy());
        rig.exchange.pausePolling(); // the program ends during a wait: every wait stops
        rig.atTime(0.1, [&] { rig.pump.setEnding(true); });
        const double start = rig.pump.advanced();
        QVERIFY(!rig.exchange.attention(logger::attentionSeconds) && rig.pump.advanced() - start < 0.15);
        QCOMPARE(rig.exchange.collectAny(3.0).failure, Failure::Ending);
        rig.exchange.finish({}); // polling stays off once the program is ending
        QVERIFY(!rig.timer6.isEnabled());
    }

    void abandon()
    {
        for (const auto &[text, flush] : {std::pair{logger::text::timeOutExit, true}, {logger::text::timeOutTryAgain, false}, {QString(), false}}) {
            ExchangeRig rig;
            QStringList log;
            rig.dialogs.setOnMessage([&](const auto &) { log.append(QStringLiteral("message")); });
            rig.port.setResponder([&](const QByteArray &b) { log.append("send:" + QString::fromLatin1(b)); });
            rig.exchange.pausePolling();
            rig.port.feed("abc");
            rig.exchange.abandon({text, platform::MessageIcon::None, flush}, [&](const QString &c) { log.append("caption:" + c); },
                                 [&] { log.append(rig.timer6.isEnabled() ? "restore, polling" : "restore"); });
            QCOMPARE(log, (QStringList(text.isEmpty() ? QStringList{} : QStringList{"message"}) + QStringList{"caption:", "restore", "send: "}));
            QVERIFY(rig.port.bytesWaiting() == (flush ? 0 : 3) && rig.timer6.isEnabled());
            QCOMPARE(rig.dialogs.messageTexts(), text.isEmpty() ? QStringList{} : QStringList{text});
        }
    }

    void texts_data()
    {
        // sent: requests "R:134", "W:129:42", "K:2" on the LOGGER buffer, "P:134:2",
        // "D:<time>" on the PANEL buffer, what the last sends in hex. status,
        // memory (size code, then the bytes in use as text), clock, directory
        // (its set count), sets: reply bytes in. number: answer|largest; ic: the
        // answer; set: Text1|Label2|entries in the list|value flag, where set 2
        // has 20 records, set 3 10, set 4 none, any other its number.
        QTest::addColumn<TextRow>("r");
        const auto row = [](const char *name, TextRow r) { QTest::newRow(name) << r; };
        row("read keeps the last written value", {"sent", "W:131:5 R:135", "52000000870500"});
        row("K after the ID code's low byte", {"sent", "W:128:1 W:129:42 K:2", "4b010000812a00"});
        row("K for set 256", {"sent", "K:256", "4bff0000000000"});
        row("clock 2009-12-31 23:59:59", {"sent", "D:2009-12-31T23:59:59", "44091231235959" "00"});
        row("memory size after a clock set", {"sent", "D:2009-12-31T23:59:59 P:134:2", "57000000860259" "00"});
        row("status: largest values", {"status", "", "65535 4294967295 65535", loggertest::statusBytes(65535, 0xFFFFFFFFu, 65535)});
        row("status: unused bytes ignored", {"status", "", "7 256 30", bytesOf({0, 7, 0xAA, 0xBB, 0, 0, 1, 0, 0, 30})});
        row("status: 11 bytes", {"status", "", "", status + '\0'});
        row("status: 9 bytes", {"status", "", "", status.left(9)});
        row("memory code 0", {"memory", "", "", QByteArray("\x00" "0", 2)});
        row("memory code 5", {"memory", "", "", "\x05" "0"});
        row("96 K used of 128 K", {"memory", "", "128 K|32.0 K", "\x02" "98304"});
        row("one set header of 256 K", {"memory", "", "256 K|256.0 K", "\x04" "12"});
        row("a quarter K left rounds up", {"memory", "", "64 K|.3 K", "\x01" "65280"});
        row("more used than there is", {"memory", "", "64 K|-4.4 K", "\x01" "70000"});
        const QByteArray two = entryBytes({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 20) + entryBytes({0x24, 0x12, 0x01, 0x07, 0x05, 0x09}, 0x0132);
        row("directory: two sets", {"directory", "2", "1\t00-02-28----23:59:55|2\t24-12-01----07:05:09|20|306", two});
        row("directory: fewer sets than entries", {"directory", "1", "1\t00-02-28----23:59:55|20|306", two});
        row("directory: second entry cut short", {"directory", "2", "1\t00-02-28----23:59:55|20", two.left(23)});
        row("directory: empty", {"directory", "1", ""});
        row("clock, BCD, an extra byte", {"clock", "", "09-12-31----23:05:00|09-12-31-----23:05:00", bytesOf({0x09, 0x12, 0x31, 0x23, 0x05, 0x00, 0x77})});
        row("BCD nibbles not digits count 0 or 1", {"clock", "", "01-00-31----23:05:00|01-00-31-----23:05:00", bytesOf({0x1A, 0xA5, 0x31, 0x23, 0x05, 0x00})});
        row("sets completed: part of one, one, two and a bit", {"sets", "", "0 SETS COMPLETED|1 SETS COMPLETED|2 SETS COMPLETED"});
        const QString tooSmall = QStringLiteral("Number Too Small ! Set Value to 1 !");
        row("decimal comma 2,5 to even", {"number", "2,5|32767", "2|"});
        row("0.6 is below 1", {"number", "0.6|65535", "1|" + tooSmall});
        row("not a number", {"number", "abc|65535", "1|" + tooSmall});
        row("empty (Cancel)", {"number", "|65535", "0|"});
        row("just above the largest", {"number", "32767.1|32767", "32767|Number Too Large ! Set Value to  32767!"});
        const auto ic = [&row](const char *answer, const char *parsed) { row(qPrintable(QStringLiteral("ICs ") + answer), {"ic", answer, parsed}); };
        for (const auto &[answer, parsed] : {std::pair{"2", "code 1"}, {"4,0", "code 2"}, {"8", "code 4"}, {"3", "not pairs 0"}, {"2.5", "not pairs 0"}, {"10", "not pairs 0"}, {"eight", "not pairs 0"}, {"", "cancelled 0"}})
            ic(answer, parsed);
        const QString chosen = QString::number(int(Kind::Chosen)) + '|', invalid = QString::number(int(Kind::Invalid)) + '|';
        const QString cleared = QString::number(int(Kind::Cleared)) + "|0|0|";
        row("set 0", {"set", "0|3|3|0", cleared});
        row("set 300", {"set", "300|3|3|0", cleared});
        row("set 4 of 3", {"set", "4|3|3|0", invalid + "4|0|"});
        row("set 3.5 of 3", {"set", "3.5|3|3|0", invalid + "4|0|"});
        row("before the count was read", {"set", "1||0|0", invalid + "1|0|"});
        row("count read, list cut short", {"set", "3|3|2|0", invalid + "3|0|"});
        row("set 2", {"set", "2|3|3|0", chosen + "2|20|20"});
        row("last set, flag 1", {"set", "3|3|3|1", chosen + "3|10|9"});
        row("other set, flag 1", {"set", "2|3|3|1", chosen + "2|20|20"});
        row("last set as 3.0, flag 1", {"set", "3.0|3|3|1", chosen + "3|10|10"});
        row("empty last set, flag 1", {"set", "4|4|4|1", chosen + "4|0|0"});
        row("set 256 of 256", {"set", "256|256|256|0", chosen + "256|256|256"});
    }

    void texts()
    {
        QFETCH(TextRow, r);
        const QStringList in = r.in.split(u'|');
        QStringList texts;
        if (r.kind == "sent") {
            logger::LoggerCommandBuffer loggerBuffer;
            logger::PanelCommandBuffer panelBuffer;
            QByteArray sent;
            for (const QString &request : r.in.split(u' ')) {
                const QStringList part = request.split(u':');
                const auto number = [&](int i) { return quint8(part.at(i).toInt()); };
                switch (part.at(0).at(0).toLatin1()) {
                case 'R': sent = loggerBuffer.readByte(number(1)); break;
                case 'K': sent = loggerBuffer.download(part.at(1).toInt()); break;
                case 'W': sent = loggerBuffer.writeByte(number(1), number(2)); break;
                case 'P': sent = panelBuffer.writeByte(number(1), number(2)); break;
                default: sent = panelBuffer.setClock(logger::meterClockOf(QDateTime::fromString(request.mid(2), Qt::ISODate)));
                }
            }
            texts << QString::fromLatin1(sent.toHex());
        } else if (r.kind == "status") {
            if (const auto block = logger::parseStatusBlock(r.bytes))
                texts << QStringLiteral("%1 %2 %3").arg(block->idCode).arg(block->bytesInUse).arg(block->samplingTime);
        } else if (r.kind == "memory") {
            if (const auto sizeK = logger::memorySizeK(quint8(r.bytes[0])))
                texts << logger::memorySizeText(*sizeK) << logger::remainingText(*sizeK, r.bytes.mid(1).toUInt());
        } else if (r.kind == "clock") {
            if (const auto clock = logger::meterClockFrom(r.bytes))
                texts << logger::setStartText(*clock) << logger::meterClockText(*clock);
        } else if (r.kind == "sets") {
            for (qint64 bytes : {11, 12, 25})
                texts << logger::setsCompletedText(bytes);
        } else if (r.kind == "directory") {
            texts = logger::directoryRows(r.bytes, r.in.toInt());
            QVERIFY(!logger::directoryEntry(r.bytes, 0));
            for (int set = 1; const auto entry = logger::directoryEntry(r.bytes, set); ++set)
                texts << QString::number(entry->records);
        } else if (r.kind == "number") {
            testsupport::ScriptedDialogs dialogs;
            dialogs.queueInput(in[0]);
            texts << QString::number(logger::inputnumber(dialogs, {2, in[1].toInt(), QStringLiteral(" Sampling Time in Seconds ")})) << dialogs.messageTexts().join(u'+');
        } else if (r.kind == "ic") {
            using Ic = logger::IcCountAnswer::Kind;
            const logger::IcCountAnswer parsed = logger::parseIcCount(r.in);
            texts << QStringLiteral("%1 %2").arg(parsed.kind == Ic::Code ? "code" : parsed.kind == Ic::NotPairs ? "not pairs" : "cancelled").arg(parsed.code);
        } else {
            QByteArray directory;
            for (int i = 1; i <= in[2].toInt(); ++i)
                directory += entryBytes({0x24, 0x01, 0x02, 0x03, 0x04, 0x05}, i == 2 ? 20 : i == 3 ? 10 : i == 4 ? 0 : i);
            const logger::SetChoice choice = logger::chooseSet(in[0], in[1], directory, qint16(in[3].toInt()));
            texts << QString::number(int(choice.kind)) << QString::number(choice.set) << QString::number(choice.records) << choice.recordsText;
        }
        QCOMPARE(texts.join(u'|'), r.out);
    }

    void writesAndReleases()
    {
        Rig rig;
        for (const char *key : {"W128", "W129", "W130", "W131"})
            rig.meter.always(QLatin1String(key), "W");
        rig.requests.writeIdCode(0x1234); // the input flushed before and after each write
        QCOMPARE(rig.port.sent(), (QByteArrayList{bytesOf({'W', 0, 0, 0, 128, 0x12, 0}), bytesOf({'W', 0, 0, 0, 129, 0x34, 0})}));
        QVERIFY(rig.port.readLengths() == QList<int>({0, 0, 0}) && rig.pump.advanced() >= 0.4 && rig.pump.advanced() < 0.43);
        rig.port.clearSent();
        rig.requests.writeSamplingTime(300);
        QCOMPARE(rig.port.sent(), (QByteArrayList{bytesOf({'W', 0, 0, 0, 130, 1, 0}), bytesOf({'W', 0, 0, 0, 131, 44, 0})}));
        rig.port.clearSent();
        rig.exchange.pausePolling(); // after the set list: two releases, the polling back on between
        QList<bool> pollingAtSend;
        rig.port.setResponder([&](const QByteArray &) { pollingAtSend.append(rig.timer6.isEnabled()); });
        const double start = rig.pump.advanced();
        rig.requests.releaseAfterSetList();
        QCOMPARE(rig.port.sent(), (QByteArrayList{" ", " "}));
        QCOMPARE(pollingAtSend, (QList<bool>{false, true}));
        QVERIFY(rig.pump.advanced() - start >= 0.3 && rig.pump.advanced() - start < 0.33);
        Rig closed; // a closed port is opened for the clock
        closed.port.close();
        closed.meter.always(QStringLiteral("C"), bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05}));
        QVERIFY(closed.requests.meterClock().ok() && closed.port.openCalls() == 2);
    }

    void download_data()
    {
        QTest::addColumn<DownloadRow>("r");
        const auto row = [](const char *name, DownloadRow r) { QTest::newRow(name) << r; };
        const QByteArray r = leapDay, four = leapDay + rec(0x80, 4, 0, 0, dc);
        const QString lost = logger::text::portLost;
        const auto onlyOf = [](int n) { return QStringLiteral("Wait Time Out ! Only %1 of 3 Records Received ! Try Again !").arg(n); };
        row("in one piece", {{r}, {0.1}, {"4 RECORDS COMPLETED"}, Result::Listed, 0.7});
        row("in pieces, header cut", {{r.left(5), r.mid(5, 12), r.mid(17)}, {0.1, 0.2, 0.3}, {"1 RECORDS COMPLETED", "2 RECORDS COMPLETED", "4 RECORDS COMPLETED"}, Result::Listed, 0.9});
        row("pause shorter than the silence limit", {{r.left(17), r.mid(17)}, {0.1, 1.9}, {"2 RECORDS COMPLETED", "4 RECORDS COMPLETED"}, Result::Listed, 2.6});
        row("silent after one record", {{r.left(17)}, {0.1}, {"2 RECORDS COMPLETED"}, Result::Failed, 3.0, onlyOf(1)});
        row("silent in the middle of a record", {{r.left(20)}, {0.1}, {"2 RECORDS COMPLETED"}, Result::Failed, 3.0, onlyOf(1)});
        row("no reply", {{}, {}, {}, Result::Failed, 4.0, onlyOf(0)});
        row("one byte short", {{r.chopped(1)}, {0.1}, {"3 RECORDS COMPLETED"}, Result::Failed, 3.0, onlyOf(2)});
        // The meter sends 4 records; the window expects one less (3).
        row("value flag, last set", {{four}, {0.1}, {"4 RECORDS COMPLETED", "2 RECORDS COMPLETED"}, Result::Listed, 1, {}, "flag last"});
        row("value flag, not the last set", {{four}, {0.1}, {"4 RECORDS COMPLETED"}, Result::Listed, 1, {}, "flag"});
        row("no value flag, last set", {{four}, {0.1}, {"4 RECORDS COMPLETED"}, Result::Listed, 1, {}, "last"});
        row("set of 0 records", {{r}, {0.1}, {}, Result::Nothing, 1, {}, "empty"});
        row("no set chosen", {{r}, {0.1}, {}, Result::Nothing, 1, {}, "set 0"});
        row("set beyond 256", {{r}, {0.1}, {}, Result::Nothing, 1, {}, "set 257"});
        row("port busy: nothing at all", {{r}, {0.1}, {}, Result::Busy, 1, {}, "busy"});
        row("program ending: quietly, polling stays off", {{r.left(17)}, {0.1}, {"2 RECORDS COMPLETED"}, Result::Failed, 1, {}, "ending"});
        row("device lost: told", {{r.left(17)}, {0.1}, {"2 RECORDS COMPLETED"}, Result::Failed, 1, lost, "lost"});
    }

    void download()
    {
        QFETCH(DownloadRow, r);
        Rig rig;
        const auto held = r.how == "busy" ? rig.exchange.tryLock() : decltype(rig.exchange.tryLock())();
        rig.shared.valueByteFlag = r.how.startsWith("flag");
        rig.shared.scaleMax = 5000;
        rig.answerK(r.pieces, r.times);
        if (r.how == "ending")
            rig.atTime(0.9, [&] { rig.pump.setEnding(true); });
        if (r.how == "lost")
            rig.atTime(0.8, [&] { rig.port.setDeviceLost(true); });
        const double start = rig.pump.advanced();
        const int set = r.how.startsWith("set ") ? r.how.mid(4).toInt() : 4;
        QCOMPARE(rig.run(set, r.how == "empty" ? 0 : 3, r.how.endsWith("last")), r.result);
        QVERIFY(rig.pump.advanced() - start <= r.endsBy && rig.timer6.isEnabled() == (r.how != "ending"));
        QCOMPARE(rig.dialogs.messageTexts(), r.message.isEmpty() ? QStringList{} : QStringList{r.message});
        for (const auto &message : rig.dialogs.messages())
            QCOMPARE(message.icon == platform::MessageIcon::Critical, r.how == "lost");
        const bool listed = r.result == Result::Listed;
        // Nothing partial is shown as if it were the set, nothing left for the live polling.
        QVERIFY(rig.windows.rows.size() == (listed ? 3 : 0) && rig.port.bytesWaiting() == 0);
        if (r.result == Result::Busy) {
            QVERIFY(rig.port.sent().isEmpty() && rig.windows.events.isEmpty());
            return;
        }
        QCOMPARE(rig.windows.progress(), r.result == Result::Nothing ? QStringList{QString()} : r.progress + QStringList{QString()});
        QCOMPARE(rig.windows.events.last(2), QStringList({"memory on", "progress "}));
        QCOMPARE(rig.windows.events.contains("create") + rig.windows.events.contains("show data off"), 2 * listed);
        if (r.result == Result::Nothing)
            QCOMPARE(rig.windows.events, QStringList({"memory off", "close list", "memory on", "progress "}));
        const QByteArrayList sent = rig.port.sent();
        QCOMPARE(sent.size(), r.result == Result::Nothing ? 2 : listed ? 6 : 4);
        QCOMPARE(sent.mid(r.result == Result::Nothing ? 0 : 2), QByteArrayList(sent.size() - (r.result == Result::Nothing ? 0 : 2), " "));
        QVERIFY(r.result == Result::Nothing || (sent.at(1) == bytesOf({'K', 3, 0, 0, 0, 0, 0}) && !rig.pollingWhenRequested));
        if (!listed)
            return;
        QCOMPARE(rig.windows.rows, QStringList({"1\t00-02-28\t23:59:55\t 010.00\tmV\t500 mV\tDC\t", "2\t00-02-29\t00:00:00\t 020.00\tmV\t500 mV\tDC\t",
                                                "3\t00-02-29\t00:00:05\t 030.00\tmV\t500 mV\tDC\t"}));
        QCOMPARE(rig.windows.events.filter(QRegularExpression("^(?!progress )")), QStringList({"memory off", "close list", "status PLEASE WAIT.....", "create",
                  "texts mV|500 mV", "status ", "show data off", "show 3  RECORDS IN NO. 4  SET|2", "memory on"}));
        QVERIFY(rig.windows.decoding == QList<qint64>({1, 2, 3}) && !rig.windows.pollingWhenCreated);
        QCOMPARE(rig.shared.scaleMax, 500.0); // reset, then raised by the records
    }

    void rows_data()
    {
        // Records (code, three value bytes, status) after a start and interval in,
        // the rows' cells from..to out; a full scale checked when given.
        QTest::addColumn<RowsRow>("r");
        const auto row = [](const char *name, RowsRow r) { QTest::newRow(name) << r; };
        const QList<int> noon{0x24, 0x03, 0x05, 0x08, 0x09, 0x07};
        const auto one = [](int code, int b1, int b2, int b3, int st) { return QByteArrayList{rec(code, b1, b2, b3, st)}; };
        row("millivolts DC", {noon, 0, one(0x80, 0x12, 0x34, 0x56, dc), {" 123.46\tmV\t500 mV\tDC\t"}, 2, 500});
        row("negative volts", {noon, 0, one(0x42, 0x01, 0x23, 0x40, dc | negative), {"-01.234\tV\t50 V\tDC\t"}, 2, 50});
        row("overload negative volts", {noon, 0, one(0x42, 0x99, 0x99, 0x90, overload | negative | dc), {"-OL    \tV\t50 V\tDC\t"}});
        row("overload negative frequency", {noon, 0, one(0xC2, 0x12, 0x34, 0x50, overload | negative), {" OL    \tFrequency\t5K Hz\tAC\t"}});
        row("overload ohms", {noon, 0, one(0x25, 0, 0, 0, overload | dc), {" OL    \tOhm\t50M Ohm\t\t"}, 2, 50000000});
        row("negative frequency", {noon, 0, one(0xC1, 0x12, 0x34, 0x50, negative | dc), {" 123.45\tFrequency\t500 Hz\t\t"}});
        row("ohms bit3 clear is BEEP", {noon, 0, one(0x20, 0x01, 0x20, 0x00, 0), {" 012.00\tOhm\t500 Ohm\tBEEP\t"}});
        row("capacitance bit3 clear is AC", {noon, 0, one(0x61, 0x91, 0x23, 0x45, 0), {" 1.2345\tCx\t5 uF\tAC\t"}});
        row("capacitance bit3 set", {noon, 0, one(0x60, 0x01, 0x23, 0x45, dc), {" 123.45\tCx\t500 nF\t\t"}});
        row("diode", {noon, 0, one(0xA0, 0x06, 0x50, 0x00, dc), {" 0.6500\tDiode\t5 V\tDC\t"}});
        row("low battery", {noon, 0, one(0x90, 0x12, 0x34, 0x50, dc | lowBattery), {" 123.45\tmA\t500 mA\tDC\t Low "}});
        row("frequency bit3 clear", {noon, 0, one(0xC0, 0x12, 0x34, 0x50, 0), {" 12.345\tFrequency\t50 Hz\tAC\t"}});
        row("full scale raised only", {noon, 0, {rec(0x42, 0, 0, 0, dc), rec(0x80, 0, 0, 0, dc), rec(0x40, 0, 0, 0, dc), rec(0xFF, 0, 0, 0, dc)},
                                       {" 00.000\tV\t50 V\tDC\t", " 000.00\tmV\t500 mV\tDC\t", " 0.0000\tV\t5 V\tDC\t", " 0.0000\tV\t5 V\tDC\t"}, 2, 500});
        row("unknown codes take the texts before", {noon, 0, {rec(0x07, 0x12, 0x34, 0x50, 0), rec(0x20, 0x01, 0, 0, 0), rec(0xFF, 0x02, 0, 0, 0)},
                                                    {" 123.45\tmA\t500 mA\tAC\t", " 010.00\tOhm\t500 Ohm\tBEEP\t", " 020.00\tOhm\t500 Ohm\tBEEP\t"}});
        // A range without a number (nothing decoded before): the value before gets
        // its sign or blank again in place of its leading blank, a doubled minus loses one.
        const auto codeless = [](const QList<int> &statuses) {
            QByteArrayList records;
            for (int st : statuses)
                records << rec(0xEE, 0x12, 0x34, 0x56, st);
            return records;
        };
        const QList<std::pair<QList<int>, QStringList>> runs{
            {{0}, {" \t"}}, {{negative}, {"-\t"}}, {{negative, negative}, {"-\t", "-\t"}}, {{0, negative}, {" \t", "-\t"}}, {{negative, 0}, {"-\t", " -\t"}},
            {{0, 0, 0}, {" \t", " \t", " \t"}}, {{overload | negative, negative}, {"-OL    \t", "-OL    \t"}}, {{overload | negative, 0, 0}, {"-OL    \t", " -OL    \t", " -OL    \t"}}};
        for (const auto &[statuses, values] : runs)
            QTest::addRow("no number, statuses %s", qPrintable(values.join(u'|'))) << RowsRow{noon, 1, codeless(statuses), values, 2, 0, 3};
        QList<int> many(300, 0); // a long run stays short
        many[17] = negative;
        row("no number, a long run", {noon, 1, codeless(many), QStringList(17, " \t") + QStringList{"-\t"} + QStringList(282, " -\t"), 2, 0, 3});
        const auto stamps = [&row](const char *name, const QList<int> &start, int interval, const QStringList &times) {
            row(name, {start, interval, QByteArrayList(times.size(), rec(0x80, 0, 0, 0, dc)), QStringList(times).replaceInStrings(" ", "\t"), 0, 0, 1});
        };
        stamps("leap day of 00", {0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 5, {"00-02-28 23:59:55", "00-02-29 00:00:00", "00-02-29 00:00:05"});
        stamps("year wrap", {0x99, 0x12, 0x31, 0x23, 0x59, 0x55}, 10, {"99-12-31 23:59:55", "00-01-01 00:00:05"});
        stamps("February 01 has 28 days", {0x01, 0x02, 0x28, 0x23, 0x59, 0x59}, 1, {"01-02-28 23:59:59", "01-03-01 00:00:00"});
        stamps("interval 0", {0x24, 0x03, 0x05, 0x01, 0x02, 0x03}, 0, {"24-03-05 01:02:03", "24-03-05 01:02:03"});
        stamps("longest interval", {0x24, 0x12, 0x31, 0x12, 0, 0}, 65535, {"24-12-31 12:00:00", "25-01-01 06:12:15", "25-01-02 00:24:30"});
        stamps("first stamp carries a corrupt second", {0x24, 0x03, 0x05, 0x01, 0x02, 0x75}, 5, {"24-03-05 01:03:15", "24-03-05 01:03:20"});
        stamps("corrupt day twice the month: never day 0", {0x00, 0x02, 0x58, 0, 0, 0}, 1, {"00-03-29 00:00:00"});
        stamps("corrupt month 13", {0x98, 0x13, 0x01, 0, 0, 0}, 1, {"99-01-01 00:00:00"});
        stamps("corrupt day 0 stays", {0x24, 0x03, 0x00, 0, 0, 0}, 1, {"24-03-00 00:00:00", "24-03-00 00:00:01"});
        const auto bcd = [](int v) { return (v / 10) * 16 + v % 10; };
        for (const auto &[from, interval, count] : {std::tuple{QDateTime(QDate(2000, 1, 1), QTime(0, 30, 0)), 3600, 24 * 366 + 5},
                                                     {QDateTime(QDate(2023, 12, 20), QTime(7, 13, 29)), 65521, 1200},
                                                     {QDateTime(QDate(2021, 2, 27), QTime(23, 0, 1)), 7, 3000}}) {
            QStringList times;
            for (int n = 0; n < count; ++n)
                times << from.addSecs(qint64(n) * interval).toString(QStringLiteral("yy-MM-dd HH:mm:ss"));
            const QDate d = from.date();
            const QTime t = from.time();
            stamps(qPrintable("calendar from " + times[0]), {bcd(d.year() % 100), bcd(d.month()), bcd(d.day()), bcd(t.hour()), bcd(t.minute()), bcd(t.second())}, interval, times);
        }
    }

    void rows()
    {
        QFETCH(RowsRow, r);
        Rig rig;
        QStringList got;
        const bool cells = r.from == 2 && r.to < 0; // the window showed "mA", "500 mA" before
        for (const QString &row : rig.rowsOf(setReply(r.start, r.interval, r.records), cells ? "mA" : "", cells ? "500 mA" : ""))
            got << row.section(u'\t', r.from, r.to);
        QCOMPARE(got, r.cells);
        if (r.scaleMax > 0)
            QCOMPARE((QList<double>{rig.shared.scaleMax, rig.shared.scaleHalf}), (QList<double>{r.scaleMax, r.scaleMax / 2}));
        QVERIFY(!cells || rig.windows.events.contains("texts " + got.last().section(u'\t', 1, 1) + '|' + got.last().section(u'\t', 2, 2)));
    }

    // Nibbles that are no decimal digits read as the live decoder reads them.
    void nonDecimalNibblesAsTheLiveDecoder()
    {
        for (const QList<int> &b : QList<QList<int>>{{0x42, 0xAB, 0xCD, 0xEF}, {0x80, 0x1A, 0, 0}, {0x21, 0x12, 0x3F, 0x45}, {0x90, 0x12, 0x34, 0x5C}, {0x62, 0xF1, 0x23, 0x45}, {0x61, 0x0B, 0x23, 0x45}, {0xC5, 0xFF, 0xFF, 0xFF}}) {
            common::SharedValues liveShared;
            common::MeterReading live;
            live::decodeLiveFrame(rec(b[0], b[1], b[2], b[3], dc) + char(3), live, liveShared);
            QVERIFY(!live.valueText.isEmpty());
            Rig rig;
            QCOMPARE(rig.rowsOf(setReply({0x24, 3, 5, 8, 9, 7}, 1, {rec(b[0], b[1], b[2], b[3], dc)})).value(0).section(u'\t', 2, 2), ' ' + live.valueText);
        }
    }

    void opening_data()
    {
        // Sets, the memory size code (11: one 11-byte status, 12: always), no
        // status at all; the remaining memory shown or the message.
        QTest::addColumn<OpeningRow>("r");
        QTest::newRow("three sets") << OpeningRow{3, 2, false, "32.0 K"};
        QTest::newRow("no sets: the memory size") << OpeningRow{0, 2, false, "128 K"};
        QTest::newRow("status never answered") << OpeningRow{3, 2, true, logger::text::timeOutExit};
        QTest::newRow("memory size code 5") << OpeningRow{3, 5, false, logger::text::invalidMemorySize()};
        QTest::newRow("11-byte status is asked again") << OpeningRow{3, 11, false, "32.0 K"};
        QTest::newRow("status always 11 bytes") << OpeningRow{3, 12, false, logger::text::badReply};
    }

    void opening()
    {
        QFETCH(OpeningRow, r);
        const auto [sets, code, silent, remaining] = r;
        LoggerWindowRig rig;
        rig.meter.always(QStringLiteral("R135"), bytesOf({sets}));
        rig.meter.always(QStringLiteral("R134"), bytesOf({code > 10 ? 2 : code}));
        const QByteArray status = loggertest::statusBytes(4711, 98304, 5) + '\0';
        silent ? rig.meter.silence(QStringLiteral("Y")) : code == 11 ? rig.meter.once(QStringLiteral("Y"), status) : code == 12 ? rig.meter.always(QStringLiteral("Y"), status) : void();
        QList<bool> pollingDuringMessage;
        rig.dialogs.setOnMessage([&](const auto &) { pollingDuringMessage.append(rig.polling()); });
        rig.port.feed("\x02\x80"); // part of a live frame, dropped by the attention
        rig.openLogger();
        logger::LOGGER &w = rig.window();
        QVERIFY(rig.polling() && rig.port.sent().last() == " ");
        if (silent || code == 5 || code == 12) {
            QVERIFY(rig.pump.advanced() < 3 * 2.5 + 0.1); // three status tries of 0.5 s + 2 s at most
            QCOMPARE(rig.dialogs.messageTexts(), QStringList{remaining});
            QCOMPARE(rig.dialogs.messages().first().icon == platform::MessageIcon::Critical, code == 5);
            QVERIFY(pollingDuringMessage == QList<bool>{false} && w.isHidden() && rig.panel->CMDMEMORY->isEnabled());
            return;
        }
        QCOMPARE(rig.meter.requests(), (code == 11 ? QStringList{"A", "Y", "A", "Y", "R134", "R135", " "} : openingRequests));
        QCOMPARE((QStringList{w.Label4->text(), w.Label6->text(), w.Text3->text(), w.Text2->text()}), (QStringList{"128 K", remaining, "4711", "5  sec"}));
        QVERIFY(w.isVisible() && !w.Text1->isEnabled() && !rig.panel->CMDMEMORY->isEnabled());
        if (sets == 0)
            return;
        rig.clearRecords(); // every resize reads again, once for a burst
        rig.meter.always(QStringLiteral("Y"), loggertest::statusBytes(99, 0, 7));
        w.resize(w.width() + 40, w.height());
        w.resize(w.width() + 40, w.height() + 10);
        QCoreApplication::processEvents();
        QCOMPARE((QStringList{w.Text3->text(), w.Label6->text()} + rig.meter.requests()), (QStringList{"99", "128.0 K"} + openingRequests));
        w.SSCommand1->click(); // MEMORY again: a fresh LOGGER, the record list closed
        w.Text1->setText(QStringLiteral("2"));
        int recordListClosed = 0;
        rig.loggerFeature().commands().setRecordListCloser([&] { ++recordListClosed; });
        rig.clearRecords();
        rig.openLogger();
        QVERIFY(recordListClosed == 1 && w.isVisible() && w.setList().rowCount() == 0 && w.Label5->text().isEmpty());
        QVERIFY(w.SSCommand1->isEnabled() && !w.SSCommand3->isEnabled() && rig.meter.requests() == openingRequests);
        w.close();
        QVERIFY(!w.isLoaded() && rig.panel->CMDMEMORY->isEnabled());
        rig.openLogger();
        QVERIFY(w.isVisible());
        rig.port.feed(bytesOf({2, 0x80, 0x12, 0x34, 0x50, 0x88, 3})); // a live frame with REL on closes the window
        for (int i = 0; i < 7 && w.isLoaded(); ++i)
            rig.panel->Timer6->fire();
        QVERIFY(!w.isLoaded() && w.isHidden() && rig.panel->CMDMEMORY->isEnabled());
    }

    void setList_data()
    {
        QTest::addColumn<QString>("meter");
        QTest::addColumn<QString>("message");
        QTest::newRow("three sets") << "" << "";
        QTest::newRow("list not answered") << "silent" << logger::text::timeOutTryAgain;
        QTest::newRow("one entry of three, then silence") << "partial" << logger::text::timeOutTryAgain;
        QTest::newRow("no records: no waiting for a list") << "none" << logger::text::noRecords;
    }

    void setList()
    {
        QFETCH(QString, meter);
        QFETCH(QString, message);
        LoggerWindowRig rig;
        if (meter == QLatin1String("none")) {
            rig.meter.always(QStringLiteral("R135"), bytesOf({0}));
            rig.meter.always(QStringLiteral("I"), QByteArray());
        }
        logger::LOGGER &w = rig.openedWindow();
        QAbstractItemModelTester tester(&w.setList(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        if (meter == "silent")
            rig.meter.silence(QStringLiteral("I"));
        if (meter == "partial")
            rig.meter.always(QStringLiteral("I"), loggertest::entryBytes({0x24, 0x03, 0x14, 0x08, 0x00, 0x00}, 5), 0.1);
        QStringList captions;
        QList<bool> polling;
        rig.pump.onStep([&](double) {
            if (polling.isEmpty()) // one exchange at a time: clicks during the wait do nothing
                for (QPushButton *b : {w.SSCommand6, w.SSCommand4, rig.panel->CMDSYSTEM, rig.panel->CMDUPDATE, rig.panel->CMDMEMORY})
                    b->click();
            captions.append(w.Label1->text());
            polling.append(rig.polling());
        });
        const double start = rig.pump.advanced();
        w.SSCommand1->click();
        QCOMPARE(rig.dialogs.messageTexts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QVERIFY(polling.contains(false) && rig.polling() && rig.panel->CMDMEMORY->isEnabled());
        QVERIFY(rig.port.sent().last() == " " && w.Label1->text().isEmpty() && rig.dialogs.prompts().isEmpty());
        if (meter == QLatin1String("none")) { // two attentions and the closing pauses
            QVERIFY(rig.meter.requests() == listRequests && rig.pump.advanced() - start < 0.5 + 0.5 + 0.3 + 0.1);
            return;
        }
        if (!message.isEmpty()) {
            QVERIFY(rig.pump.advanced() - start <= 0.5 + 0.1 + logger::responseMarginSeconds + 1.6);
            QVERIFY(w.setList().rowCount() == 0 && w.SSCommand1->isEnabled());
            w.Text1->setText(QStringLiteral("2")); // a set of the list that was not read is refused
            QVERIFY(rig.dialogs.messageTexts().last() == logger::text::invalidSet && !w.SSCommand3->isEnabled());
            return;
        }
        QCOMPARE((QStringList{w.Label2->text(), QString::number(w.setList().rowCount()), w.setList().cell(2, 1), w.Label8->text()} + rig.meter.requests()),
                 (QStringList{"3", "3", "00-02-28----23:59:55", "3 SETS COMPLETED"} + listRequests));
        QVERIFY(captions.contains(QStringLiteral("PLEASE WAIT....")) && captions.contains(QStringLiteral("PLEASE WAIT.....")) && !w.SSCommand1->isEnabled());
        QSignalSpy asked(&w, &logger::LOGGER::showDataRequested);
        QList<bool> enabledDuringDownload;
        connect(&w, &logger::LOGGER::showDataRequested, this, [&] {
            for (QWidget *control : std::initializer_list<QWidget *>{w.Grid1, w.SSCommand6, w.Text2, w.Text1, w.SSCommand1, w.SSCommand4, w.SSCommand5})
                enabledDuringDownload.append(control->isEnabled());
        });
        w.Grid1Click(w.setList().index(1, 1)); // a row click chooses its set and asks for its data at once
        QCOMPARE((QStringList{w.Text1->text(), w.Label5->text(), QString::number(asked.size()), asked.first().first().toString()}), (QStringList{"2", "20", "1", "2"}));
        QVERIFY(enabledDuringDownload == QList<bool>(7, false) && w.Grid1->isEnabled());
        rig.shared.valueByteFlag = 1; // the last set with the flag: one record less shown, not counted
        w.Text1->setText(QStringLiteral("3"));
        QVERIFY(w.Label5->text() == "9" && rig.shared.recTotal == 20.0); // the record list still holds set 2
        w.SSCommand3->click();
        QVERIFY(rig.shared.recTotal == 10.0 && asked.last().first().toInt() == 3);
        w.Text1->setText(QStringLiteral("4"));
        QCOMPARE((QStringList{w.Text1->text(), w.Label5->text()} + rig.dialogs.messageTexts()), (QStringList{"", "", logger::text::invalidSet}));
        QVERIFY(!w.SSCommand3->isEnabled());
        w.SSCommand1->click(); // the row click enabled NO.S OF SET again; a second reading appends
        QCOMPARE(w.setList().rowCount(), 6);
    }

    void clicks_data()
    {
        // Polling at each request: + on, - off, W off with the port caption WAIT;
        // shown after: the setting's box, the meter's clock or the port caption.
        QTest::addColumn<ClickRow>("r");
        const auto row = [](const char *name, ClickRow r) { QTest::newRow(name) << r; };
        const auto w = [](int address, int value) { return bytesOf({'W', 0, 0, 0, address, value, 0}); };
        const auto ics = [](int code) { return QByteArrayList{"A", bytesOf({'W', 0, 0, 0, 134, code, 0, 0}), " ", " "}; };
        const QString id = "Input  ID Code |Enter the  ID Code (1 <= t <=  65535 ) | 4711";
        const QString sampling = "Input  Sampling Time in Seconds |Enter the  Sampling Time in Seconds (1 <= t <=  32767 ) | 5";
        const QString memory = "Input Memory Size|Update the MEMORY SIZE in No.s of ICs\r\n\r\n2-->  64K\r\n4-->128K\r\n6-->192K\r\n8-->256K|2.0";
        const QString pairs = logger::text::icPairs;
        row("ID code 70000", {"id", "70000", true, id, {"A", w(128, 255), w(129, 255), " "}, "----", " 65535", {"Number Too Large ! Set Value to  65535!"}});
        row("sampling 2,6", {"sampling", "2,6", true, sampling, {"A", w(130, 0), w(131, 3), " "}, "----", " 3 Sec", {}});
        row("sampling 32768", {"sampling", "32768", true, sampling, {"A", w(130, 127), w(131, 255), " "}, "----", " 32767 Sec", {"Number Too Large ! Set Value to  32767!"}});
        row("ID code cancelled", {"id", "", true, id, {}, "", "4711", {}});
        row("meter clock", {"clock", "", true, "", {"A", "C", " "}, "---", "24-03-15-----10:30:05", {}});
        row("meter clock, a byte too many", {"clock 7", "", true, "", {"A", "C", " "}, "---", "", {logger::text::badReply}});
        row("SYSTEM TIME SET", {"system", "", false, "", {"A", bytesOf({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0}), " "}, "WWW", "Com1", {}});
        row("UPDATE 4,0", {"update", "4,0", false, memory, ics(2), "---+", "Com1", {}});
        row("UPDATE 3: told to give pairs", {"update", "3", false, memory, {}, "", "Com1", {pairs}});
        row("UPDATE 8 closes the logger window", {"update", "8", true, memory, ics(4), "---+", "Com1", {}});
    }

    void clicks()
    {
        QFETCH(ClickRow, r);
        LoggerWindowRig rig;
        if (r.loggerOpen)
            rig.openLogger();
        rig.clearRecords();
        logger::LOGGER &w = rig.window();
        if (r.button == "clock 7")
            rig.meter.always(QStringLiteral("C"), bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05, 0x00}));
        rig.clock.setDate(QDate(2009, 12, 31));
        rig.clock.setSecondsSinceMidnight(86399.0 - 0.1); // read after the 0.1 s attention
        QString polling;
        rig.meter.watch([&](const QString &) { polling += rig.polling() ? u'+' : rig.panel->LBLCOMM->text() == "WAIT" ? u'W' : u'-'; });
        rig.dialogs.queueInput(r.answer);
        const std::map<QString, QPushButton *> buttons{{"id", w.SSCommand4}, {"sampling", w.SSCommand5}, {"clock", w.SSCommand6}, {"clock 7", w.SSCommand6},
                                                      {"system", rig.panel->CMDSYSTEM}, {"update", rig.panel->CMDUPDATE}};
        buttons.at(r.button)->click();
        QString asked;
        for (const auto &prompt : rig.dialogs.prompts())
            asked += prompt.title + u'|' + prompt.prompt + u'|' + prompt.defaultAnswer;
        QCOMPARE(asked, r.asked);
        QCOMPARE(rig.port.sent(), r.sent);
        QCOMPARE(polling, r.polling);
        const std::map<QString, QString> shown{{"id", w.Text3->text()}, {"sampling", w.Text2->text()}, {"clock", w.Label3->text()}, {"clock 7", w.Label3->text()}};
        QCOMPARE(shown.count(r.button) ? shown.at(r.button) : rig.panel->LBLCOMM->text(), r.shown);
        QCOMPARE(rig.dialogs.messageTexts(), r.messages);
        for (const auto &message : rig.dialogs.messages())
            QCOMPARE(message.icon == platform::MessageIcon::Critical, r.button == "update");
        // A reply too long is not left for the live reading.
        QVERIFY(rig.polling() && w.Label1->text().isEmpty() && (!r.button.startsWith("clock") || rig.port.bytesWaiting() == 0));
        QCOMPARE(w.isLoaded() && w.SSCommand6->isEnabled(), r.loggerOpen && r.button != "update");
    }
};

QTEST_MAIN(LoggerTest)
#include "tst_logger.moc"
