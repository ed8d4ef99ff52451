#include "cli/options.h"

#include "cli/mqttoptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace cli {

namespace {

constexpr qint64 maxSamples = 1'000'000'000;
constexpr qint64 maxTimeMs = 8760LL * 3600 * 1000; // a year
constexpr qint64 minIntervalMs = 100;
constexpr qint64 maxIntervalMs = 3600 * 1000;

struct ActionOption
{
    const char *name;
    Action action;
    bool takesNumber;
};

constexpr ActionOption actionOptions[] = {
    {"list-ports", Action::ListPorts, false},
    {"logger-status", Action::LoggerStatus, false},
    {"list-sets", Action::ListSets, false},
    {"download", Action::Download, true},
    {"get-clock", Action::GetClock, false},
    {"set-clock", Action::SetClock, false},
    {"set-id", Action::SetId, true},
    {"set-sampling", Action::SetSampling, true},
    {"set-memory-ics", Action::SetMemoryIcs, true},
};

void addOptions(QCommandLineParser &parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({
        {{"h", "help"}, {}},
        {"version", {}},
        {"port", {}, "DEVICE"},
        {"samples", {}, "N"},
        {"time", {}, "DURATION"},
        {"continuous", {}},
        {"interval", {}, "SECONDS"},
        {{"O", "output-format"}, {}, "FORMAT"},
        {{"o", "output-file"}, {}, "FILE"},
        {"stats", {}},
    });
    for (const ActionOption &option : actionOptions) {
        if (option.takesNumber)
            parser.addOption({QString::fromLatin1(option.name), {}, QStringLiteral("N")});
        else
            parser.addOption({QString::fromLatin1(option.name), {}});
    }
    addMqttOptions(parser);
}

UsageError wants(const QString &option, const QString &accepted, const QString &given)
{
    return {QStringLiteral("--%1 wants %2, not \"%3\"").arg(option, accepted, given)};
}

std::optional<qint64> wholeNumber(const QString &text, qint64 low, qint64 high)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,12}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<Format> formatNamed(const QString &name)
{
    if (name == QLatin1String("analog"))
        return Format::Analog;
    if (name == QLatin1String("csv"))
        return Format::Csv;
    if (name == QLatin1String("jsonl"))
        return Format::Jsonl;
    if (name == QLatin1String("dat"))
        return Format::Dat;
    return std::nullopt;
}

// The action's number and its accepted range, checked before anything is sent.
std::optional<UsageError> readActionNumber(const QCommandLineParser &parser,
                                           const ActionOption &option, Options &options)
{
    const QString name = QString::fromLatin1(option.name);
    const QString text = parser.value(name);
    struct Range
    {
        qint64 low, high;
        const char *accepted;
    };
    const Range range = option.action == Action::Download ? Range{1, 256, "a set number from 1 to 256"}
                        : option.action == Action::SetId  ? Range{1, 65535, "a number from 1 to 65535"}
                        : option.action == Action::SetSampling
                            ? Range{1, 32767, "seconds from 1 to 32767"}
                            : Range{2, 8, "2, 4, 6 or 8 memory ICs"};
    const auto value = wholeNumber(text, range.low, range.high);
    if (!value || (option.action == Action::SetMemoryIcs && *value % 2 != 0))
        return wants(name, QString::fromLatin1(range.accepted), text);
    options.number = int(*value);
    return std::nullopt;
}

std::optional<UsageError> readAction(const QCommandLineParser &parser, Options &options)
{
    const ActionOption *chosen = nullptr;
    for (const ActionOption &option : actionOptions) {
        if (!parser.isSet(QString::fromLatin1(option.name)))
            continue;
        if (chosen)
            return UsageError{QStringLiteral("--%1 and --%2 are two actions: give one at a time")
                                  .arg(QString::fromLatin1(chosen->name),
                                       QString::fromLatin1(option.name))};
        chosen = &option;
    }
    if (!chosen)
        return std::nullopt;
    options.action = chosen->action;
    if (chosen->action == Action::Download)
        options.format = Format::Dat;
    if (chosen->takesNumber)
        return readActionNumber(parser, *chosen, options);
    return std::nullopt;
}

std::optional<UsageError> readLimits(const QCommandLineParser &parser, LiveLimits &limits)
{
    if (parser.isSet("samples")) {
        limits.samples = wholeNumber(parser.value("samples"), 1, maxSamples);
        if (!limits.samples)
            return wants("samples", "a whole number from 1 to 1000000000", parser.value("samples"));
    }
    if (parser.isSet("time")) {
        limits.timeMs = parseDuration(parser.value("time"));
        if (!limits.timeMs || *limits.timeMs < 1 || *limits.timeMs > maxTimeMs)
            return wants("time", "a duration from 1ms to 8760h such as 500ms, 10s, 5m or 2h",
                         parser.value("time"));
    }
    if (parser.isSet("interval")) {
        limits.intervalMs = parseSecondsMs(parser.value("interval"));
        if (!limits.intervalMs || *limits.intervalMs < minIntervalMs
            || *limits.intervalMs > maxIntervalMs)
            return wants("interval", "seconds from 0.1 to 3600", parser.value("interval"));
    }
    limits.continuous = parser.isSet("continuous");
    if (limits.continuous && (limits.samples || limits.timeMs))
        return UsageError{QStringLiteral("--continuous runs until stopped: leave out --samples and --time")};
    if (!limits.continuous && !limits.samples && !limits.timeMs)
        limits.samples = 1;
    return std::nullopt;
}

std::optional<UsageError> checkCombination(const QCommandLineParser &parser, const Options &options)
{
    const bool live = options.action == Action::Live;
    for (const char *name : {"samples", "time", "continuous", "interval"}) {
        if (!live && parser.isSet(QString::fromLatin1(name)))
            return UsageError{QStringLiteral("--%1 belongs to the live readings, not to another action")
                                  .arg(QString::fromLatin1(name))};
    }
    const bool writesReadings = live || options.action == Action::Download;
    for (const char *name : {"output-format", "output-file"}) {
        if (!writesReadings && parser.isSet(QString::fromLatin1(name)))
            return UsageError{QStringLiteral("--%1 belongs to the live readings and --download")
                                  .arg(QString::fromLatin1(name))};
    }
    if (!writesReadings && parser.isSet("stats"))
        return UsageError{QStringLiteral("--stats belongs to the live readings and --download")};
    if (options.action == Action::ListPorts && parser.isSet("port"))
        return UsageError{QStringLiteral("--list-ports opens no port: leave out --port")};
    if (!parser.positionalArguments().isEmpty())
        return UsageError{QStringLiteral("unexpected argument \"%1\" (options start with --)")
                              .arg(parser.positionalArguments().constFirst())};
    return std::nullopt;
}

} // namespace

std::optional<qint64> parseDuration(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,9})(ms|s|m|h)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 count = match.captured(1).toLongLong();
    const QString unit = match.captured(2);
    const qint64 scale = unit == QLatin1String("ms") ? 1
                         : unit == QLatin1String("s") ? 1000
                         : unit == QLatin1String("m") ? 60'000
                                                      : 3'600'000;
    return count * scale;
}

std::optional<qint64> parseSecondsMs(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,6})(?:\\.([0-9]{1,3}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString fraction = match.captured(2).leftJustified(3, QLatin1Char('0'));
    return match.captured(1).toLongLong() * 1000 + fraction.toLongLong();
}

std::variant<Options, UsageError> parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("meterlink-cli")} + arguments))
        return UsageError{parser.errorText() + QStringLiteral(" (see --help)")};

    Options options;
    options.help = parser.isSet("help");
    options.version = parser.isSet("version");
    if (options.help || options.version)
        return options;
    if (auto error = readAction(parser, options))
        return *error;
    if (auto error = readLimits(parser, options.limits))
        return *error;
    if (auto error = checkCombination(parser, options))
        return *error;
    if (auto error = readMqttOptions(parser, options))
        return *error;
    options.port = parser.value("port");
    if (parser.isSet("port") && options.port.isEmpty())
        return UsageError{QStringLiteral("--port wants a device path or \"emulator\"")};
    if (parser.isSet("output-format")) {
        const auto format = formatNamed(parser.value("output-format"));
        if (!format)
            return wants("output-format", "analog, csv, jsonl or dat", parser.value("output-format"));
        options.format = *format;
    }
    options.stats = parser.isSet("stats");
    options.outputFile = parser.value("output-file");
    if (parser.isSet("output-file") && options.outputFile.isEmpty())
        return UsageError{QStringLiteral("--output-file wants a file name")};
    return options;
}

} // namespace cli
