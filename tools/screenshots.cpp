// Starts the program on the built-in meter emulator, opens its windows the
// way a user would, and saves a picture of each into a folder:
//
//   meterlink-screenshots OUTPUT_DIR
//
// Run it headless with QT_QPA_PLATFORM=offscreen (scripts/screenshots.sh).

#include "app/application.h"
#include "link/ui/panel.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

// Answers the program's questions the way the pictures need them.
class PictureDialogs : public platform::Dialogs
{
public:
    QString dataFile;

    void message(const QString &text, const QString &, platform::MessageIcon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString input(const QString &, const QString &, const QString &defaultAnswer) override
    {
        return defaultAnswer;
    }
    FileChoice openFile(const QString &, const QString &) override
    {
        return {false, dataFile, QFileInfo(dataFile).fileName()};
    }
    FileChoice saveFile(const QString &, const QString &) override { return {}; }
};

// Lets the program run for a while (its own nested waits included).
void runFor(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QWidget *window(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(name))
            return widget;
    }
    return nullptr;
}

bool save(const char *name, const QString &folder)
{
    QWidget *widget = window(name);
    if (!widget) {
        std::fprintf(stderr, "no window %s\n", name);
        return false;
    }
    const QString file = QDir(folder).filePath(QString::fromLatin1(name).toLower() + QStringLiteral(".png"));
    const bool saved = widget->grab().save(file);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(file));
    return saved;
}

// A recorded file of a slow, fading swing on "500 mV", for the stored-data graph.
QString writeSampleFile(const QString &folder)
{
    const QString name = QDir(folder).filePath(QStringLiteral("sample.dat"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QTextStream out(&file);
    for (int i = 1; i <= 240; ++i) {
        const int seconds = 36000 + 2 * i;
        const double value = 400.0 * std::sin(i / 20.0) * std::exp(-i / 300.0);
        out << i << "\t01-15-24\t"
            << QStringLiteral("%1:%2:%3").arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                   .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'))
            << "\t" << QString::number(value, 'f', 2) << "\tmV\t500 mV\tDC\t\r\n";
    }
    return name;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: meterlink-screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    PictureDialogs dialogs;
    dialogs.dataFile = writeSampleFile(folder);
    app::Options options;
    options.com1Device = app::emulatorDevice;
    options.select = 1;
    app::Application program(options, &dialogs);
    program.start();
    live::PANEL *panel = program.panel();
    if (!panel)
        return 1;

    // A quicker sampling time than a user may choose, so the live graph and
    // list fill within seconds.
    panel->LBLSAMPLE->setText(QStringLiteral("0.2 Sec"));
    runFor(2500);
    panel->CMDGRAPH->click();
    panel->CMDLIST->click();
    panel->CMDANALOG->click();
    runFor(20000);
    int failures = 0;
    for (const char *name : {"PANEL", "G_GRAPH", "ANALOG", "LIST"})
        failures += save(name, folder) ? 0 : 1;

    panel->CMDOPEN->click();
    runFor(1000);
    if (auto *list = qobject_cast<QMainWindow *>(window("MEMORYLIST"))) {
        if (QAction *graph = list->findChild<QAction *>(QStringLiteral("MNUGRAPH")))
            graph->trigger();
    }
    runFor(1500);
    failures += save("MEMORYLIST", folder) ? 0 : 1;
    failures += save("MEMORY_GRAPH", folder) ? 0 : 1;

    panel->CMDMEMORY->click();
    runFor(6000);
    failures += save("LOGGER", folder) ? 0 : 1;
    QFile::remove(dialogs.dataFile);
    return failures == 0 ? 0 : 1;
}
