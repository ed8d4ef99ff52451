#include "app/options.h"

#include <QCommandLineParser>

namespace app {

ParsedOptions parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Companion program of a handheld digital multimeter with an RS-232 link.\n\n"
        "At start you choose COM1 or COM2. COM1 stands for the first USB serial\n"
        "adapter found (/dev/ttyUSB*, /dev/ttyACM*), else /dev/ttyS0; COM2 for the\n"
        "second adapter, else /dev/ttyS1. Devices... in that window assigns any port\n"
        "and is remembered; --com1/--com2 choose a device for this run only: a\n"
        "pseudo-terminal, or the word 'emulator' for the built-in meter emulator.\n"
        "Serial devices need membership of the group that owns them; the message\n"
        "on a refused port names it.\n\n"
        "Example: meterlink --com1 emulator"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption com1({QStringLiteral("com1")},
                                  QStringLiteral("Device behind the COM1 button."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption com2({QStringLiteral("com2")},
                                  QStringLiteral("Device behind the COM2 button."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption select({QStringLiteral("select")},
                                    QStringLiteral("Choose port 1 or 2 at once."),
                                    QStringLiteral("N"));
    parser.addOptions({com1, com2, select});

    ParsedOptions result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0); // exits
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parser.showVersion(); // exits
    }
    if (parser.isSet(com1))
        result.options.com1Device = parser.value(com1);
    if (parser.isSet(com2))
        result.options.com2Device = parser.value(com2);
    if (parser.isSet(select)) {
        const QString value = parser.value(select);
        if (value != QLatin1String("1") && value != QLatin1String("2")) {
            result.error = QStringLiteral("--select takes 1 or 2, not '%1'").arg(value);
            return result;
        }
        result.options.select = value.toInt();
    }
    if (!parser.positionalArguments().isEmpty())
        result.error = QStringLiteral("Unexpected argument '%1'").arg(parser.positionalArguments().first());
    return result;
}

} // namespace app
