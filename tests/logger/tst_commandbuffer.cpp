#include "logger/commandbuffer.h"
#include "scriptedmeter.h"

#include <QDateTime>
#include <QTest>

using loggertest::bytesOf;

namespace {

// Runs requests given as "R:134", "W:129:42", "K:2" on the LOGGER buffer,
// or "W:134:2", "D:2009-12-31T23:59:59" on the PANEL buffer, and returns
// what the last one sends.
QByteArray lastSent(const QStringList &requests, bool panel)
{
    logger::LoggerCommandBuffer loggerBuffer;
    logger::PanelCommandBuffer panelBuffer;
    QByteArray sent;
    for (const QString &request : requests) {
        const QStringList part = request.split(u':');
        const auto number = [&](int i) { return quint8(part.at(i).toInt()); };
        const QChar letter = part.at(0).at(0);
        if (letter == u'R')
            sent = loggerBuffer.readByte(number(1));
        else if (letter == u'K')
            sent = loggerBuffer.download(part.at(1).toInt());
        else if (letter == u'W')
            sent = panel ? panelBuffer.writeByte(number(1), number(2))
                         : loggerBuffer.writeByte(number(1), number(2));
        else if (letter == u'D')
            sent = panelBuffer.setClock(
                logger::meterClockOf(QDateTime::fromString(request.mid(2), Qt::ISODate)));
    }
    return sent;
}

} // namespace

class CommandBufferTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bytesOnTheLine_data();
    void bytesOnTheLine();
};

void CommandBufferTest::bytesOnTheLine_data()
{
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<bool>("panel");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("read keeps the last written value")
        << QStringList{"W:131:5", "R:135"} << false << bytesOf({'R', 0, 0, 0, 135, 5, 0});
    QTest::newRow("K after the ID code's low byte") << QStringList{"W:128:1", "W:129:42", "K:2"}
                                                    << false << bytesOf({'K', 1, 0, 0, 129, 42, 0});
    QTest::newRow("K for set 256")
        << QStringList{"K:256"} << false << bytesOf({'K', 255, 0, 0, 0, 0, 0});
    QTest::newRow("clock 2009-12-31 23:59:59")
        << QStringList{"D:2009-12-31T23:59:59"} << true
        << bytesOf({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0});
    QTest::newRow("memory size after a clock set")
        << QStringList{"D:2009-12-31T23:59:59", "W:134:2"} << true
        << bytesOf({'W', 0, 0, 0, 134, 2, 0x59, 0});
}

void CommandBufferTest::bytesOnTheLine()
{
    QFETCH(QStringList, requests);
    QFETCH(bool, panel);
    QFETCH(QByteArray, expected);
    QCOMPARE(lastSent(requests, panel), expected);
}

QTEST_GUILESS_MAIN(CommandBufferTest)
#include "tst_commandbuffer.moc"
