#include "app/application.h"
#include "app/options.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("meterlink"));
    QApplication::setApplicationVersion(QStringLiteral("5.1"));

    const app::ParsedOptions parsed = app::parseOptions(QApplication::arguments());
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "meterlink: %s\nTry 'meterlink --help'.\n", qPrintable(parsed.error));
        return 2;
    }

    app::Application program(parsed.options);
    program.start();
    return QApplication::exec();
}
