#pragma once

#include "mqtt/brokeraddress.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace cli {

enum class Format { Analog, Csv, Jsonl, Dat };

// What one run does: the live readings (the default) or one action.
enum class Action {
    Live,
    ListPorts,
    LoggerStatus,
    ListSets,
    Download,
    GetClock,
    SetClock,
    SetId,
    SetSampling,
    SetMemoryIcs,
};

struct LiveLimits
{
    std::optional<qint64> samples;   // readings to write
    std::optional<qint64> timeMs;    // from the start
    bool continuous = false;         // until a signal
    std::optional<qint64> intervalMs; // one reading per interval
};

struct Options
{
    Action action = Action::Live;
    QString port;                 // empty: the remembered or detected device
    Format format = Format::Analog;
    QString outputFile;           // empty: standard output
    LiveLimits limits;
    int number = 0;               // the N of --download, --set-id, --set-sampling, --set-memory-ics
    std::optional<mqtt::PublisherOptions> mqtt; // --mqtt: readings to a broker too
    bool stats = false;           // --stats: statistics of what was written, on standard error
    bool help = false;
    bool version = false;
};

// A command line that cannot be run: one line for standard error.
struct UsageError
{
    QString message;
};

// Reads the arguments (without the program name).
std::variant<Options, UsageError> parseOptions(const QStringList &arguments);

// "500ms", "10s", "5m", "2h" in milliseconds; nothing when malformed.
std::optional<qint64> parseDuration(const QString &text);

// "0.25" seconds in whole milliseconds, read on the decimal text.
std::optional<qint64> parseSecondsMs(const QString &text);

QString helpText();

} // namespace cli
