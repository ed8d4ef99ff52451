#pragma once

// Splits the bytes the program sends into requests. Usage:
//
//   RequestParser parser;
//   for (const QByteArray &request : parser.feed(bytes, now)) handle(request);
//
// A request is recognised by its first byte and has a fixed length; the
// program sends requests with parameters from a fixed command buffer whose
// trailing bytes are skipped:
//
//   | first byte | request bytes          | buffer sent |
//   |------------|------------------------|-------------|
//   | "R"        | "R", 0, 0, 0, address  | 7 bytes     |
//   | "W"        | "W", 0, 0, 0, address, value | 7 bytes (8 from the panel: its last byte is 0) |
//   | "K"        | "K", set number - 1    | 7 bytes     |
//   | "D"        | "D", 6 BCD clock bytes | 8 bytes     |
//   | any other  | that byte alone        | 1 byte      |
//
// A request split across calls is completed by the following calls if
// they arrive within requestWait seconds; otherwise the partial request
// is dropped. Trailing buffer bytes are skipped only if they arrive within
// trailingWait seconds of the request, so a bare request followed later
// by another one is not eaten. Zero bytes between requests are no request
// and are ignored by the meter anyway.

#include <QByteArray>
#include <QList>

namespace emulator {

class RequestParser
{
public:
    static constexpr double requestWait = 0.5;
    static constexpr double trailingWait = 0.05;

    // Bytes of the request (without trailing bytes) starting with `first`.
    static int requestLength(char first);
    // Bytes of the command buffer that carries it.
    static int bufferLength(char first);

    QList<QByteArray> feed(const QByteArray &bytes, double now);

    // Bytes of an incomplete request held back.
    int pending() const { return int(pending_.size()); }

private:
    void expire(double now);

    QByteArray pending_;
    double pendingSince_ = 0.0;
    int skip_ = 0;
    double skipUntil_ = 0.0;
};

} // namespace emulator
