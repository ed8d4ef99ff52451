#include "emulator/ptyserver.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace emulator {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PtyServer::PtyServer(MeterEmulator &meter, QObject *parent)
    : QObject(parent)
    , meter_(meter)
{
    elapsed_.start();
    now_ = [this] { return double(elapsed_.nsecsElapsed()) / 1e9; };
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PtyServer::service);
}

PtyServer::~PtyServer()
{
    close();
}

void PtyServer::setTimeSource(std::function<double()> now)
{
    now_ = std::move(now);
}

bool PtyServer::open()
{
    close();
    termios raw{};
    cfmakeraw(&raw);
    char name[256] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        error_ = QStringLiteral("Cannot create a pseudo-terminal: %1").arg(systemError());
        master_ = slave_ = -1;
        return false;
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyServer::service);
    schedule(now_());
    return true;
}

void PtyServer::close()
{
    timer_.stop();
    notifier_.reset();
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
    if (!linkPath_.isEmpty() && QFileInfo(linkPath_).isSymLink())
        QFile::remove(linkPath_);
    linkPath_.clear();
    unwritten_.clear();
}

bool PtyServer::makeLink(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isSymLink()) {
        error_ = QStringLiteral("%1 exists and is not a link; not replaced").arg(path);
        return false;
    }
    if (info.isSymLink())
        QFile::remove(path);
    if (!QFile::link(slavePath_, path)) {
        error_ = QStringLiteral("Cannot make the link %1 to %2").arg(path, slavePath_);
        return false;
    }
    linkPath_ = path;
    return true;
}

void PtyServer::service()
{
    if (master_ < 0)
        return;
    const double now = now_();
    readInput(now);
    writeOutput(now);
    schedule(now);
}

void PtyServer::readInput(double now)
{
    char buffer[512];
    for (;;) {
        const ssize_t count = ::read(master_, buffer, sizeof buffer);
        if (count <= 0)
            return; // EAGAIN: all read; EIO: no client at the moment
        meter_.receive(QByteArray(buffer, qsizetype(count)), now);
    }
}

void PtyServer::writeOutput(double now)
{
    unwritten_.append(meter_.takeOutput(now));
    if (unwritten_.size() > maxBacklog)
        unwritten_.remove(0, unwritten_.size() - maxBacklog);
    while (!unwritten_.isEmpty()) {
        const ssize_t written = ::write(master_, unwritten_.constData(), size_t(unwritten_.size()));
        if (written <= 0)
            return; // the client is not reading; try again later
        unwritten_.remove(0, qsizetype(written));
    }
}

void PtyServer::schedule(double now)
{
    // A client that does not read leaves bytes behind: retry now and then.
    double wait = unwritten_.isEmpty() ? meter_.nextEventTime() - now : 0.05;
    if (!std::isfinite(wait)) {
        timer_.stop(); // idle: the notifier wakes us when the client sends
        return;
    }
    wait = std::clamp(wait, 0.001, 1.0);
    timer_.start(int(std::ceil(wait * 1000.0)));
}

} // namespace emulator
