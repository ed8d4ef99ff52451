#include "faults/recordedfile.h"

#include "faults/faultrig.h"
#include "link/ui/panel.h"
#include "platform/timer.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>

#include <numeric>

namespace faulttest {

namespace {
constexpr int fastTickMs = 100;
constexpr int fieldCount = 8;
} // namespace

QString checkRecordedFile(const QString &fileName, const QList<int> &linesPerStart,
                          const QString &unit)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
    const QByteArray text = file.readAll();
    const int expected = std::accumulate(linesPerStart.begin(), linesPerStart.end(), 0);
    if (expected == 0)
        return text.isEmpty() ? QString() : QStringLiteral("lines in a file nothing was recorded into");
    if (!text.endsWith("\r\n"))
        return QStringLiteral("the file ends inside a line: ...%1").arg(QString::fromLatin1(text.right(30)));
    const QList<QByteArray> lines = text.chopped(1).split('\n'); // each still ends with CR
    if (lines.size() != expected)
        return QStringLiteral("%1 lines in the file, %2 ticks recorded").arg(lines.size()).arg(expected);
    int at = 0;
    for (int start = 0; start < linesPerStart.size(); ++start) {
        for (int number = 1; number <= linesPerStart[start]; ++number, ++at) {
            const QByteArray line = lines[at].endsWith('\r') ? lines[at].chopped(1) : lines[at];
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() != fieldCount || !lines[at].endsWith('\r'))
                return QStringLiteral("line %1 is not whole: %2").arg(at + 1).arg(QString::fromLatin1(lines[at]));
            if (fields[0] != QByteArray::number(number))
                return QStringLiteral("line %1 is numbered %2, not %3").arg(at + 1).arg(QString::fromLatin1(fields[0])).arg(number);
            if (QString::fromLatin1(fields[4]) != unit)
                return QStringLiteral("line %1 has the unit \"%2\"").arg(at + 1).arg(QString::fromLatin1(fields[4]));
        }
    }
    return {};
}

RecordingProbe::RecordingProbe(FaultRig &rig) : rig_(rig)
{
    connect(rig.panel().Timer4, &platform::Timer::tick, this, &RecordingProbe::onTick);
}

bool RecordingProbe::start(const QString &fileName)
{
    live::PANEL &panel = rig_.panel();
    fileName_ = fileName;
    rig_.dialogs.queueSaveFile(fileName);
    panel.CMDSAVE->click();
    if (panel.LBLFILE->text() != fileName) {
        error_ = QStringLiteral("SAVE AS did not choose the file (is the recording attached?)");
        return false;
    }
    panel.CMDSTART->click();
    if (!panel.recordingOn || !panel.Timer4->isEnabled()) {
        error_ = QStringLiteral("START RECORDING did not start: ") + rig_.dialogs.messageTexts().join(u'|');
        return false;
    }
    panel.Timer4->setInterval(fastTickMs);
    linesPerStart_.append(0);
    return true;
}

bool RecordingProbe::running() const
{
    return rig_.panel().recordingOn;
}

int RecordingProbe::ticks() const
{
    return std::accumulate(linesPerStart_.begin(), linesPerStart_.end(), 0);
}

void RecordingProbe::onTick()
{
    // After the recording's handler, Label1 counts the lines written; a
    // tick without a live reading writes none.
    if (running() && !linesPerStart_.isEmpty())
        linesPerStart_.last() = rig_.panel().Label1->text().trimmed().toInt();
}

QString RecordingProbe::checkFile() const
{
    return checkRecordedFile(fileName_, linesPerStart_, QStringLiteral("V"));
}

} // namespace faulttest
