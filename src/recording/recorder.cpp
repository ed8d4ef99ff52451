#include "recording/recorder.h"

#include <limits>

namespace recording {

bool Recorder::start(const QString &fileName)
{
    recordCount_ = 0;
    return file_.open(fileName);
}

bool Recorder::writeTick(const PanelTexts &texts, const QDateTime &now)
{
    // A 32-bit count: after its largest value it goes on from the smallest,
    // without overflowing.
    const qint32 next = recordCount_ == std::numeric_limits<qint32>::max()
                            ? std::numeric_limits<qint32>::min()
                            : recordCount_ + 1;
    if (!file_.write(recordedLine(recordedRecord(next, now, texts))))
        return false;
    recordCount_ = next;
    return true;
}

void Recorder::stop()
{
    file_.close();
}

} // namespace recording
