#pragma once

// The cable between the emulated meter and the program, with a hand on it:
// it opens the meter's pseudo-terminal and serves one of its own, raw, behind
// a fixed link (the device the program opens), copying bytes both ways on the
// event loop (so it goes on while the program waits inside a handler). While
// pulled, the meter's bytes are dropped and nothing reaches it.

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
    std::function<void(const QByteArray &)> hook_;
};

} // namespace faulttest
