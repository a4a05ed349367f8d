#include "link/com_ports.h"
#include "support/test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

class ComPortsTest : public QObject
{
    Q_OBJECT

private slots:
    void deviceNames_data()
    {
        QTest::addColumn<QString>("argument"); // "#n": port n of the port list
        QTest::addColumn<QString>("device");
#ifdef Q_OS_WIN
        const QString com2 = "COM2", com8 = "COM8";
#else
        const QString com2 = "/dev/ttyS1", com8 = "/dev/ttyS7";
#endif
        QTest::newRow("port 2") << "#2" << com2;
        QTest::newRow("port 3 redirected") << "#3"
                                           << "/dev/pts/7";
        QTest::newRow("com2") << "com2" << com2;
        QTest::newRow("Com8") << "Com8" << com8;
        QTest::newRow("COM3 redirected") << "COM3"
                                         << "/dev/pts/7";
        QTest::newRow("COM9") << "COM9"
                              << "COM9";
        QTest::newRow("a path") << "/dev/ttyUSB0"
                                << "/dev/ttyUSB0";
        QTest::newRow("a name under /dev") << "ttyUSB0"
                                           << "ttyUSB0";
        QTest::newRow("a relative path") << "run/COM1" << QDir::currentPath() + "/run/COM1";
        QTest::newRow("port 4 redirected to a relative path")
            << "#4" << QDir::currentPath() + "/sim/tty";
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

    // A port that is not there is a value with a reason, and waiting on it sleeps.
    void missingDeviceDoesNotOpen()
    {
        qputenv("SWCFG_COM2", "/nonexistent/swcfg-port");
        const std::unique_ptr<SerialLine> line = comPortLineFactory()(2);
        qunsetenv("SWCFG_COM2");
        QVERIFY(!line->open());
        QVERIFY(line->errorText().contains("/nonexistent/swcfg-port"));
        QVERIFY(!line->send("ns"));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 20; ++i)
            line->waitForInput(1000);
        QVERIFY(timer.elapsed() >= 15);
    }
};

SWCFG_TEST_CLASS(ComPortsTest)
#include "com_ports_test.moc"
