#include "faults/linetap.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace faulttest {

namespace {

QString systemError(const QString &what)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

void setNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Writes what the terminal takes now; the rest is dropped, as a line
// drops what nobody reads.
void writeSome(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written <= 0)
            return;
        data += written;
        size -= written;
    }
}

} // namespace

LineTap::LineTap()
{
    noise_.setInterval(10);
    QObject::connect(&noise_, &QTimer::timeout, this, &LineTap::noiseTick);
}

LineTap::~LineTap()
{
    programNotifier_.reset();
    closeProgramSide();
    meterNotifier_.reset();
    if (meter_ >= 0)
        ::close(meter_);
}

bool LineTap::connect(const QString &meterDevice, const QString &devicePath)
{
    meter_ = ::open(QFile::encodeName(meterDevice).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (meter_ < 0) {
        error_ = systemError(QStringLiteral("Cannot open the meter's terminal ") + meterDevice);
        return false;
    }
    termios raw{};
    ::tcgetattr(meter_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(meter_, TCSANOW, &raw);
    meterNotifier_ = std::make_unique<QSocketNotifier>(meter_, QSocketNotifier::Read);
    QObject::connect(meterNotifier_.get(), &QSocketNotifier::activated, this, &LineTap::meterReadable);
    devicePath_ = devicePath;
    return plugIn();
}

bool LineTap::plugIn()
{
    closeProgramSide();
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&program_, &programSlave_, name, &raw, nullptr) != 0) {
        error_ = systemError(QStringLiteral("Cannot create a pseudo-terminal"));
        program_ = programSlave_ = -1;
        return false;
    }
    setNonBlocking(program_);
    QFile::remove(devicePath_);
    if (!QFile::link(QString::fromLocal8Bit(name), devicePath_)) {
        error_ = QStringLiteral("Cannot make the link ") + devicePath_;
        closeProgramSide();
        return false;
    }
    programNotifier_ = std::make_unique<QSocketNotifier>(program_, QSocketNotifier::Read);
    QObject::connect(programNotifier_.get(), &QSocketNotifier::activated, this, &LineTap::programReadable);
    return true;
}

void LineTap::pull()
{
    closeProgramSide();
}

void LineTap::closeProgramSide()
{
    if (programNotifier_) {
        // The cable may be pulled from inside the notifier's own signal.
        programNotifier_->setEnabled(false);
        programNotifier_.release()->deleteLater();
    }
    if (program_ >= 0)
        ::close(program_);
    if (programSlave_ >= 0)
        ::close(programSlave_);
    program_ = programSlave_ = -1;
    if (!devicePath_.isEmpty() && QFileInfo(devicePath_).isSymLink())
        QFile::remove(devicePath_);
}

void LineTap::meterReadable()
{
    char buffer[1024];
    for (;;) {
        const ssize_t count = ::read(meter_, buffer, sizeof buffer);
        if (count <= 0)
            return;
        if (program_ >= 0)
            writeSome(program_, buffer, count);
    }
}

void LineTap::programReadable()
{
    char buffer[1024];
    for (;;) {
        const ssize_t count = ::read(program_, buffer, sizeof buffer);
        if (count <= 0)
            return;
        if (hook_) {
            const auto hook = hook_; // the hook may replace itself
            hook(QByteArray(buffer, qsizetype(count)));
        }
        if (program_ < 0)
            return; // the hook pulled the cable
        writeSome(meter_, buffer, count);
    }
}

void LineTap::inject(const QByteArray &bytes)
{
    if (program_ >= 0)
        writeSome(program_, bytes.constData(), bytes.size());
}

void LineTap::injectNoise(double seconds, int perTick, quint32 seed)
{
    random_.seed(seed);
    noisePerTick_ = perTick;
    noiseTicksLeft_ = int(seconds * 100);
    noise_.start();
}

void LineTap::noiseTick()
{
    if (noiseTicksLeft_-- <= 0) {
        noise_.stop();
        return;
    }
    QByteArray bytes(noisePerTick_, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random_() & 0xFF);
    inject(bytes);
}

} // namespace faulttest
