#include "link/com_ports.h"
#include "support/test_main.h"

#include <QDir>
#include <QTest>

class ComPortsTest : public QObject
{
    Q_OBJECT

private slots:
    // SWCFG_COMn redirects port n; a relative path is meant from the current folder.
    void deviceNames_data()
    {
        QTest::addColumn<QString>("argument"); // "#n": port n of the port list
        QTest::addColumn<QString>("device");
#ifdef Q_OS_WIN
        const QString com2 = "COM2";
#else
        const QString com2 = "/dev/ttyS1";
#endif
        QTest::newRow("port 2") << "#2" << com2;
        QTest::newRow("port 3 redirected") << "#3"
                                           << "/dev/pts/7";
        QTest::newRow("port 4 redirected to a relative path")
            << "#4" << QDir::currentPath() + "/sim/tty";
        QTest::newRow("com2") << "com2" << com2;
        QTest::newRow("COM3 redirected") << "COM3"
                                         << "/dev/pts/7";
        QTest::newRow("COM9") << "COM9"
                              << "COM9";
        QTest::newRow("a name under /dev") << "ttyUSB0"
                                           << "ttyUSB0";
        QTest::newRow("a relative path") << "run/COM1" << QDir::currentPath() + "/run/COM1";
    }
    void deviceNames()
    {
        QFETCH(QString, argument);
        QFETCH(QString, device);
        qputenv("SWCFG_COM3", "/dev/pts/7");
        qputenv("SWCFG_COM4", "./sim/tty");
        QCOMPARE(argument.startsWith('#') ? comPortDeviceName(argument.mid(1).toInt())
                                          : serialDeviceForArgument(argument),
                 device);
        qunsetenv("SWCFG_COM3");
        qunsetenv("SWCFG_COM4");
    }
};

SWCFG_TEST_CLASS(ComPortsTest)
#include "com_ports_test.moc"
