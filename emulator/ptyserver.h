#pragma once

// Serves a MeterEmulator on a pseudo-terminal, so that the program (or any
// serial tool) can open the slave side like a serial port. Usage:
//
//   emulator::MeterEmulator meter;
//   emulator::PtyServer server(meter);
//   if (!server.open()) { report(server.errorText()); }
//   puts(server.slavePath());            // e.g. /dev/pts/7
//   server.makeLink("/tmp/meter");       // optional
//   app.exec();                           // input by socket notifier, output by timer
//
// The terminal is raw (binary bytes pass unchanged). The server keeps its
// own slave descriptor open, so clients may come and go. Output is written
// when due: the timer sleeps until the emulator's next event and stops
// altogether while the emulator is idle. Tests can drive it without an
// event loop by calling service() with their own clock (setTimeSource).
// Bytes the client does not read pile up to maxBacklog, then the oldest
// are dropped.

#include "emulator/meteremulator.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace emulator {

class PtyServer : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype maxBacklog = 64 * 1024;

    explicit PtyServer(MeterEmulator &meter, QObject *parent = nullptr);
    ~PtyServer() override;

    // Creates the pseudo-terminal pair; false with errorText() on failure.
    bool open();
    void close();
    bool isOpen() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }
    QString errorText() const { return error_; }

    // Makes `path` a symbolic link to the slave, replacing an old link
    // (never a regular file). The link is removed by close().
    bool makeLink(const QString &path);

    // Seconds on a monotonic clock; default: since the server was made.
    void setTimeSource(std::function<double()> now);

    // Reads what the client sent, hands it to the meter, writes what is due
    // and re-arms the timer. The notifier and the timer call it.
    void service();

private:
    void readInput(double now);
    void writeOutput(double now);
    void schedule(double now);

    MeterEmulator &meter_;
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString linkPath_;
    QString error_;
    QByteArray unwritten_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<double()> now_;
};

} // namespace emulator
