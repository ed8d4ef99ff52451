#pragma once

#include <QObject>

class QSocketNotifier;

namespace cli {

// SIGINT and SIGTERM as a Qt signal: the handler only writes a byte into a
// socket pair, and the event loop does the rest. SIGPIPE is ignored, so a
// closed pipe shows as a failed write with its message.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

Q_SIGNALS:
    void received();

private:
    void drain();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace cli
