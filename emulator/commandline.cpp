#include "emulator/commandline.h"

#include "emulator/meteremulator.h"

#include <QCommandLineParser>

#include <cmath>

namespace emulator {

namespace {

bool parseByte(const QString &text, quint8 &byte)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || value > 255)
        return false;
    byte = quint8(value);
    return true;
}

// The highest rate as the user may type it: rounded down, so that the
// number in the message is itself accepted.
QString maxRateText()
{
    return QString::number(std::floor(MeterEmulator::maxFramesPerSecond * 100) / 100);
}

QString readRate(const QCommandLineParser &parser, LiveSettings &live)
{
    if (!parser.isSet("rate"))
        return {};
    bool ok = false;
    live.framesPerSecond = parser.value("rate").toDouble(&ok);
    // More than the line carries would only pile up behind the line.
    if (!ok || !(live.framesPerSecond > 0) || live.framesPerSecond > MeterEmulator::maxFramesPerSecond)
        return QStringLiteral("--rate wants frames per second above 0 and at most %1, "
                              "what 2400 baud carries of 7-byte frames")
            .arg(maxRateText());
    return {};
}

QString readLive(const QCommandLineParser &parser, LiveSettings &live)
{
    if (QString problem = readRate(parser, live); !problem.isEmpty())
        return problem;
    if (parser.isSet("code") && !parseByte(parser.value("code"), live.code))
        return QStringLiteral("--code wants a hexadecimal byte, e.g. 80");
    if (parser.isSet("status") && !parseByte(parser.value("status"), live.status))
        return QStringLiteral("--status wants a hexadecimal byte, e.g. 18");
    if (parser.isSet("value")) {
        bool ok = false;
        const uint digits = parser.value("value").toUInt(&ok);
        if (!ok || digits > 999999)
            return QStringLiteral("--value wants six decimal digits, 0 to 999999");
        live.fixedDigits = digits;
    }
    return {};
}

QString readLogger(const QCommandLineParser &parser, MeterEmulator &meter)
{
    if (!parser.isSet("memory-code"))
        return {};
    bool ok = false;
    const uint code = parser.value("memory-code").toUInt(&ok);
    if (!ok || code > 255)
        return QStringLiteral("--memory-code wants a number 0 to 255");
    LoggerContent content = LoggerContent::sample();
    content.memorySizeCode = quint8(code);
    meter.setLogger(content);
    return {};
}

} // namespace

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Emulates the multimeter on a pseudo-terminal and prints the device to open."));
    parser.addHelpOption();
    parser.addOptions({
        {"fast", "Send without 2400-baud pacing."},
        {"rate", "Live frames per second (default 4, at most " + maxRateText() + ").", "N"},
        {"code", "Function/range code, hexadecimal (default 80, 500 mV).", "HEX"},
        {"status", "Status byte, hexadecimal (default 18, DC and auto).", "HEX"},
        {"value", "Fixed six-digit reading instead of a slow sine.", "DIGITS"},
        {"fault", "Permanent fault: " + faultNames().join(", ") + ".", "NAME"},
        {"memory-code", "Memory-size code the logger reports (default 2).", "N"},
        {"link", "Also make PATH a symbolic link to the device.", "PATH"},
    });
}

QString configure(const QCommandLineParser &parser, MeterEmulator &meter)
{
    meter.setFast(parser.isSet("fast"));
    LiveSettings live;
    if (QString problem = readLive(parser, live); !problem.isEmpty())
        return problem;
    meter.setLive(live);
    if (parser.isSet("fault")) {
        const auto kind = faultFromName(parser.value("fault"));
        if (!kind)
            return QStringLiteral("--fault wants one of: ") + faultNames().join(", ");
        meter.setFault({*kind});
    }
    return readLogger(parser, meter);
}

} // namespace emulator
