#pragma once

// The cable between the emulated meter and the program, with a hand on it.
//
//   emulator::PtyServer server(meter);  server.open();
//   faulttest::LineTap tap;
//   tap.connect(server.slavePath(), dir.filePath("ttyUSB0"));
//   ... the program opens dir/ttyUSB0 ...
//   tap.injectNoise(2.0, 7);   // 2 s of random bytes among the meter's
//   tap.pull();                // the cable is out: the program's device goes
//   tap.plugIn();              // a new device at the same path
//
// The tap opens the meter's pseudo-terminal as a client and serves one of
// its own, raw, behind a fixed link (the device path the program opens).
// It copies bytes both ways as they come. While pulled, the meter's bytes
// are dropped and nothing reaches it; the meter itself keeps running.
// Everything runs on the event loop (socket notifiers and timers), so it
// goes on while the program waits inside a handler.

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <random>

namespace faulttest {

class LineTap : public QObject
{
    Q_OBJECT
public:
    LineTap();
    ~LineTap() override;

    // Opens the meter's terminal and plugs in; false with errorText().
    bool connect(const QString &meterDevice, const QString &devicePath);
    QString errorText() const { return error_; }

    // Closes the program's terminal and removes the link.
    void pull();
    // Serves a new terminal at the device path; false with errorText().
    bool plugIn();
    bool pluggedIn() const { return program_ >= 0; }

    // Bytes towards the program, at once.
    void inject(const QByteArray &bytes);
    // Random bytes (any value) towards the program for `seconds`, `perTick`
    // bytes every 10 ms, from a fixed seed.
    void injectNoise(double seconds, int perTick, quint32 seed = 1);
    bool injectingNoise() const { return noise_.isActive(); }

    // Bytes the program sent through the tap so far.
    qint64 bytesFromProgram() const { return fromProgram_; }
    // Called with every piece the program sends, before the meter gets it.
    void setProgramBytesHook(std::function<void(const QByteArray &)> hook) { hook_ = std::move(hook); }

private:
    void meterReadable();
    void programReadable();
    void noiseTick();
    void closeProgramSide();

    int meter_ = -1;
    int program_ = -1;
    int programSlave_ = -1; // kept open so the terminal survives the program's reopen
    QString devicePath_;
    QString error_;
    std::unique_ptr<QSocketNotifier> meterNotifier_;
    std::unique_ptr<QSocketNotifier> programNotifier_;
    QTimer noise_;
    int noisePerTick_ = 0;
    int noiseTicksLeft_ = 0;
    std::minstd_rand random_;
    qint64 fromProgram_ = 0;
    std::function<void(const QByteArray &)> hook_;
};

} // namespace faulttest
