#include "image/module1.h"
#include "image/port_map.h"
#include "support/test_main.h"

#include <QTest>

#include <tuple>

class PortMapTest : public QObject
{
    Q_OBJECT

private slots:
    void chipPorts_data()
    {
        QTest::addColumn<bool>("is1000SX");
        QTest::addColumn<int>("userPort");
        QTest::addColumn<int>("chipPort");
        // User ports 1..12 on odd chip ports, 13..24 on even ones, 25..28 and 29..32 likewise on
        // the module device; the 1000Base-SX model's ports 25 and 26 are its gigabit ports.
        const std::tuple<bool, int, int> rows[] = {
            {false, 1, 1},   {false, 12, 23}, {false, 13, 0},  {false, 24, 22},
            {false, 25, 25}, {false, 28, 31}, {false, 29, 24}, {false, 32, 30},
            {true, 25, 24},  {true, 26, 25},  {true, 27, 29}};
        for (const auto &[sx, user, chip] : rows)
            QTest::addRow("%s%d", sx ? "SX " : "", user) << sx << user << chip;
    }
    void chipPorts()
    {
        QFETCH(bool, is1000SX);
        QFETCH(int, userPort);
        QFETCH(int, chipPort);
        Module1 module;
        module.Is1000SX = is1000SX;
        PortNumbers::buildPortMaps(module);
        QCOMPARE(module.PortMap[userPort - 1], chipPort);
        if (!is1000SX)
            QCOMPARE(module.PortMapInverse[chipPort], userPort - 1);
    }

    // The gigabit ports map to themselves both ways; the inverse entries above them keep their
    // 32-port values. Entry 32 is never written.
    void fiberModuleOverrides()
    {
        Module1 module;
        module.Is1000SX = true;
        module.PortMap[32] = 77;
        module.PortMapInverse[32] = 77;
        PortNumbers::buildPortMaps(module);
        const std::array<int, 4> inverse{module.PortMapInverse[24], module.PortMapInverse[25],
                                         module.PortMapInverse[26], module.PortMapInverse[27]};
        QCOMPARE(inverse, (std::array<int, 4>{24, 25, 29, 25}));
        QCOMPARE(module.PortMap[32], 77);
        QCOMPARE(module.PortMapInverse[32], 77);
    }
};

SWCFG_TEST_CLASS(PortMapTest)
#include "port_map_test.moc"
