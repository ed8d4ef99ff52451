#pragma once

// The fuzz targets. Each takes any bytes, runs one piece of the program on
// them and checks what must hold whatever the bytes were; it returns the
// empty text, or what went wrong. Crashes, leaks of bounds and undefined
// behaviour are the sanitizers' to catch.
//
// Each fuzz_<name>.cpp defines one target and, built for libFuzzer (with
// METERLINK_FUZZ_ENTRY), its LLVMFuzzerTestOneInput. Without that the same
// functions serve the regression test, which replays the kept inputs.
//
//   target        input
//   ------------  -------------------------------------------------------
//   live          2 control bytes (arrival pace, start time), then the
//                 byte stream the meter sends: frame reception + decoder
//   datafile      a data file: reader, list rows, list SAVE round trip,
//                 recorded-line writer
//   loggerreplies the meter's replies to the logger requests, each as a
//                 length byte and its bytes: status block, memory-size
//                 code, number of sets, set directory, clock
//   download      a "K" reply after its expected record count (2 bytes,
//                 high first) and a flag byte: the download and its record
//                 decoding

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

QString checkLive(QByteArrayView input);
QString checkDataFile(QByteArrayView input);
QString checkLoggerReplies(QByteArrayView input);
QString checkDownload(QByteArrayView input);

// Runs a target on libFuzzer's input; a finding is printed and aborts, so
// that libFuzzer keeps the input.
int runFuzzInput(QString (*check)(QByteArrayView), const std::uint8_t *data, std::size_t size);

} // namespace fuzz

#ifdef METERLINK_FUZZ_ENTRY
#define METERLINK_FUZZ_TARGET(check)                                                    \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)   \
    {                                                                                   \
        return fuzz::runFuzzInput(check, data, size);                                   \
    }
#else
#define METERLINK_FUZZ_TARGET(check)
#endif
