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
    recordCount_ = recordCount_ == std::numeric_limits<qint32>::max()
                       ? std::numeric_limits<qint32>::min()
                       : recordCount_ + 1;
    return file_.write(recordedLine(recordedRecord(recordCount_, now, texts)));
}

void Recorder::stop()
{
    file_.close();
}

} // namespace recording
