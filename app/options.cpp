#include "app/options.h"

#include <QCommandLineParser>

namespace app {

ParsedOptions parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Companion program of a handheld digital multimeter with an RS-232 link.\n\n"
        "At start you choose COM1 or COM2. COM1 stands for /dev/ttyS0 and COM2 for\n"
        "/dev/ttyS1 unless --com1/--com2 map them to another device: a USB adapter\n"
        "such as /dev/ttyUSB0, a pseudo-terminal, or the word 'emulator' for the\n"
        "built-in meter emulator. Serial devices usually need membership of the\n"
        "'dialout' group (sudo usermod -aG dialout $USER, then log in again).\n\n"
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
