#include "emulator/requestparser.h"

namespace emulator {

int RequestParser::requestLength(char first)
{
    switch (first) {
    case 'R':
        return 5;
    case 'W':
        return 6;
    case 'K':
        return 2;
    case 'D':
        return 7;
    default:
        return 1;
    }
}

int RequestParser::bufferLength(char first)
{
    switch (first) {
    case 'R':
    case 'W':
    case 'K':
        return 7;
    case 'D':
        return 8;
    default:
        return 1;
    }
}

void RequestParser::expire(double now)
{
    if (!pending_.isEmpty() && now - pendingSince_ > requestWait)
        pending_.clear();
    if (skip_ > 0 && now > skipUntil_)
        skip_ = 0;
}

QList<QByteArray> RequestParser::feed(const QByteArray &bytes, double now)
{
    expire(now);
    QList<QByteArray> requests;
    for (char byte : bytes) {
        if (skip_ > 0) {
            --skip_;
            continue;
        }
        if (pending_.isEmpty())
            pendingSince_ = now;
        pending_.append(byte);
        const char first = pending_.at(0);
        if (pending_.size() < requestLength(first))
            continue;
        requests.append(pending_);
        pending_.clear();
        skip_ = bufferLength(first) - requestLength(first);
        skipUntil_ = now + trailingWait;
    }
    return requests;
}

} // namespace emulator
