#include "platform/appsettings.h"
#include "platform/devices.h"
#include "platform/qt/openfailure.h"
#include "platform/qt/qtdialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::DetectedPort;

Q_DECLARE_METATYPE(QList<DetectedPort>)

class DevicesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void portChoice_data();
    void portChoice();
    void settingsRoundTrip();
    void brokenSettingsFile_data();
    void brokenSettingsFile();
    void fileDialogFolders();
    void permissionMessageNamesTheDevicesGroup_data();
    void permissionMessageNamesTheDevicesGroup();

private:
    QTemporaryDir dir_;
};

namespace {
const DetectedPort builtIn{"/dev/ttyS0", {}, {}, {}, {}};
const DetectedPort ftdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "0403:6001", "A50285BI"};
const DetectedPort acm{"/dev/ttyACM3", "USB CDC", "Meter Co", "1a86:7523", {}};
} // namespace

void DevicesTest::portChoice_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QList<DetectedPort>>("detected");
    QTest::addColumn<QString>("com1");
    QTest::addColumn<QString>("com2");
    QTest::addColumn<QString>("missing"); // the remembered device shown as gone

    const QList<DetectedPort> none;
    const QList<DetectedPort> two{builtIn, ftdi, acm};
    QTest::newRow("nothing detected") << "" << "" << none << "/dev/ttyS0" << "/dev/ttyS1" << "";
    QTest::newRow("built-in port is no adapter") << "" << "" << QList{builtIn} << "/dev/ttyS0"
                                                 << "/dev/ttyS1" << "";
    QTest::newRow("one adapter goes to COM1") << "" << "" << QList{builtIn, ftdi} << "/dev/ttyUSB0"
                                              << "/dev/ttyS1" << "";
    QTest::newRow("two adapters in list order") << "" << "" << two << "/dev/ttyUSB0" << "/dev/ttyACM3" << "";
    QTest::newRow("remembered and present") << "" << "/dev/ttyACM3" << two << "/dev/ttyACM3"
                                            << "/dev/ttyACM3" << "";
    QTest::newRow("remembered emulator") << "" << "emulator" << none << "emulator" << "emulator" << "";
    QTest::newRow("remembered but unplugged") << "" << "/dev/ttyUSB7" << QList{builtIn, ftdi}
                                              << "/dev/ttyUSB0" << "/dev/ttyS1" << "/dev/ttyUSB7";
    QTest::newRow("argument beats remembered") << "/dev/pts/9" << "/dev/ttyACM3" << two << "/dev/pts/9"
                                               << "/dev/pts/9" << "";
}

void DevicesTest::portChoice()
{
    QFETCH(QString, argument);
    QFETCH(QString, remembered);
    QFETCH(QList<DetectedPort>, detected);
    QFETCH(QString, com1);
    QFETCH(QString, com2);
    QFETCH(QString, missing);

    const platform::DeviceSources sources{argument, remembered, detected};
    QCOMPARE(platform::chooseDevice(1, sources), com1);
    QCOMPARE(platform::chooseDevice(2, sources), com2);
    QCOMPARE(platform::chooseDeviceFor(1, sources).missingRemembered, missing);
    if (com1 == ftdi.device)
        QCOMPARE(platform::deviceCaption(com1, platform::chooseDeviceFor(1, sources).description),
                 QStringLiteral("/dev/ttyUSB0 - FT232R USB UART"));
}

void DevicesTest::settingsRoundTrip()
{
    const QString path = dir_.filePath("roundtrip/meterlink.conf");
    {
        platform::AppSettings settings(path);
        settings.setDevice(1, "/dev/ttyUSB0");
        settings.setDevice(2, "emulator");
        settings.setFolder("save-1", "/home/me/data files");
    }
    platform::AppSettings again(path);
    QCOMPARE(again.device(1), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(again.device(2), QStringLiteral("emulator"));
    QCOMPARE(again.folder("save-1"), QStringLiteral("/home/me/data files"));
    QCOMPARE(again.folder("open-1"), QString());
    QVERIFY(again.resetNotice().isEmpty());
}

void DevicesTest::brokenSettingsFile_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: a folder stands where the file should be
    QTest::newRow("unclosed section") << QByteArray("[devices\ncom1=/dev/ttyUSB0\n");
    QTest::newRow("unreadable") << QByteArray();
}

void DevicesTest::brokenSettingsFile()
{
    QFETCH(QByteArray, contents);
    const QString path = dir_.filePath(QStringLiteral("%1/meterlink.conf").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    if (contents.isEmpty()) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    {
        platform::AppSettings settings(path);
        QVERIFY2(settings.resetNotice().contains(path), qPrintable(settings.resetNotice()));
        QCOMPARE(settings.device(1), QString());
        settings.setDevice(1, "/dev/ttyACM0");
    }
    QVERIFY(QFileInfo::exists(path + ".broken"));
    // Said once: the next start finds a clean file with the new choice.
    platform::AppSettings next(path);
    QCOMPARE(next.resetNotice(), QString());
    QCOMPARE(next.device(1), QStringLiteral("/dev/ttyACM0"));
}

void DevicesTest::fileDialogFolders()
{
    const QString data = "Data Files (*.dat);;All Files (*)";
    QVERIFY(platform::QtDialogs::fileKind(true, data) != platform::QtDialogs::fileKind(false, data));
    QVERIFY(platform::QtDialogs::fileKind(true, data)
            != platform::QtDialogs::fileKind(true, "Data Files (*.dat);;All Files (*.*)"));

    const QString folder = dir_.path();
    QCOMPARE(platform::QtDialogs::startName("*.dat", folder), folder + "/*.dat");
    QCOMPARE(platform::QtDialogs::startName("", folder), folder);
    QCOMPARE(platform::QtDialogs::startName("/elsewhere/a.dat", folder), QStringLiteral("/elsewhere/a.dat"));
    QCOMPARE(platform::QtDialogs::startName("*.dat", folder + "/gone"), QStringLiteral("*.dat"));
}

void DevicesTest::permissionMessageNamesTheDevicesGroup_data()
{
    QTest::addColumn<QString>("group");
    QTest::newRow("dialout") << "dialout";
    QTest::newRow("tty") << "tty";
}

void DevicesTest::permissionMessageNamesTheDevicesGroup()
{
    QFETCH(QString, group);
    if (geteuid() != 0)
        QSKIP("Giving a file to another group takes root (CI runs as root).");
    const struct group *entry = getgrnam(qPrintable(group));
    if (!entry)
        QSKIP("This system has no such group.");

    const QString node = dir_.filePath("ttyMeter-" + group);
    QFile file(node);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(::chown(QFile::encodeName(node).constData(), 0, entry->gr_gid), 0);
    QCOMPARE(::chmod(QFile::encodeName(node).constData(), 0660), 0);
    // Root is normally in neither group, so it is told what a user outside the group is told.
    if (platform::deviceGroup(node).processIsMember)
        QSKIP("This test runs with the group's rights already.");

    const QString text = platform::describeOpenFailure(
        {node, QSerialPort::PermissionError, "Permission denied", false});
    const QStringList parts{node, "Permission denied", "group " + group, "not in it",
                            "sudo usermod -aG " + group + " $USER", "log out and log in again"};
    for (const QString &part : parts)
        QVERIFY2(text.contains(part), qPrintable(part + ": " + text));
}

QTEST_GUILESS_MAIN(DevicesTest)
#include "tst_devices.moc"
