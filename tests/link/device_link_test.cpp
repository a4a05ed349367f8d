#include "fake_switch.h"
#include "image/device_models.h"
#include "link/device_link.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

enum Procedure { WriteWord, ReadByte, Probe, ReadEeprom };

// Runs one procedure as its callers do; true when it got the answer the switch gave (module
// code 3 for the register read).
bool runProcedure(LinkRig &rig, Procedure procedure)
{
    DeviceLink link(rig.module, rig.line, rig.clock);
    switch (procedure) {
    case WriteWord:
        link.openPort();
        link.WriteAWord(1, 0, 6, 0x1234);
        link.closePort();
        return !rig.module.WriteTimedOut;
    case ReadByte: {
        const LinkResult<quint8> code = link.ReadAByte(3, 1, 115);
        return code.answered() && code.value == 3;
    }
    case Probe:
        return link.CheckSystemBus().value.startsWith("ns");
    case ReadEeprom:
        return link.ReadEEPROM() == LinkStatus::Done;
    }
    return false;
}

} // namespace

class DeviceLinkTest : public QObject
{
    Q_OBJECT

private slots:
    // Input that came before a command is dropped; an answer already there when the send returns
    // (a fast peer) is kept.
    void staleInputDroppedAnswerKept_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::newRow("word write") << int(WriteWord);
        QTest::newRow("register read") << int(ReadByte);
        QTest::newRow("probe") << int(Probe);
        QTest::newRow("bulk read") << int(ReadEeprom);
    }
    void staleInputDroppedAnswerKept()
    {
        QFETCH(int, procedure);
        LinkRig rig;
        rig.line.answersOnSend = true;
        rig.device.moduleCodes = {3};
        tagImage(rig.device.eeprom);
        rig.module.CurDeviceNo = 1;
        rig.line.inject("leftover");

        QVERIFY(runProcedure(rig, Procedure(procedure)));
        QCOMPARE(rig.clock.passes, 0L);
        if (procedure == ReadEeprom)
            QCOMPARE(rig.module.ReadBuffer, rig.device.eeprom[1]);
    }

    // No or short answers give no value; those waits are bounded by passes, not time.
    void shortAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("procedure");
        QTest::addColumn<bool>("answered");
        QTest::newRow("register: 5 bytes") << QByteArray("nr310") << int(ReadByte) << false;
        QTest::newRow("register: none") << QByteArray() << int(ReadByte) << false;
        QTest::newRow("probe: none") << QByteArray() << int(Probe) << false;
        QTest::newRow("probe: 2 bytes") << QByteArray("ns") << int(Probe) << true;
    }
    void shortAnswers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, procedure);
        QFETCH(bool, answered);
        LinkRig rig;
        rig.line.answer = [answer](const QByteArray &) { return answer; };
        QCOMPARE(runProcedure(rig, Procedure(procedure)), answered);
        QCOMPARE(rig.clock.passes, 10001L);
        QVERIFY(!rig.line.isOpen());
    }

    void wordWriteTimesOutAfterThreeSeconds()
    {
        LinkRig rig;
        rig.device.ignoresWrite = [](const WordWrite &) { return true; };
        QVERIFY(!runProcedure(rig, WriteWord));
        QVERIFY(rig.module.WriteTimedOut);
        QVERIFY(rig.clock.elapsedMs() > 3000 && rig.clock.elapsedMs() < 3100);
        rig.device.ignoresWrite = nullptr;
        QVERIFY(runProcedure(rig, WriteWord)); // the next answered write clears the flag
    }

    // The bulk read arrives in chunks of 200 bytes; the bar follows the bytes received.
    void bulkRead_data()
    {
        QTest::addColumn<int>("shortAnswers");
        QTest::addColumn<QStringList>("trace");
        QTest::newRow("516 bytes")
            << 0 << QStringList{"0", "5", "25", "45", "80", "95", "100", "-100"};
        QTest::newRow("515 bytes") << 1 << QStringList{"0", "5", "25", "45", "56", "80", "0", "-0"};
    }
    void bulkRead()
    {
        QFETCH(int, shortAnswers);
        QFETCH(QStringList, trace);
        LinkRig rig;
        rig.line.chunkSize = 200;
        tagImage(rig.device.eeprom);
        rig.device.shortBulkAnswers[2] = shortAnswers;
        rig.module.ReadBuffer.fill(0x5555);
        rig.module.CurDeviceNo = 2;
        DeviceLink link(rig.module, rig.line, rig.clock, rig.recordProgress());

        const LinkStatus status = link.ReadEEPROM();

        QCOMPARE(rig.line.commands, QByteArrayList{"nr20000256\r"});
        QCOMPARE(rig.progress, trace);
        QCOMPARE(status, shortAnswers ? LinkStatus::NoAnswer : LinkStatus::Done);
        QCOMPARE(rig.module.ReadBuffer[0], shortAnswers ? 0x5555 : rig.device.eeprom[2][0]);
        if (shortAnswers)
            QVERIFY(rig.clock.elapsedMs() > 5000 && rig.clock.elapsedMs() < 5100);
        QVERIFY(!rig.line.isOpen());
    }

    // Every word of the model's devices; a device that stops answering ends its own pass only.
    void writeAll_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("silentFrom"); // byte address in device 0; 256: always answers
        QTest::addColumn<int>("writes");
        QTest::newRow("24-port") << 0 << 256 << 384;
        QTest::newRow("1000Base-SX") << 1 << 256 << 512;
        QTest::newRow("32-port") << 2 << 256 << 512;
        QTest::newRow("device 0 silent from word 5") << 0 << 10 << 6 + 256;
    }
    void writeAll()
    {
        QFETCH(int, model);
        QFETCH(int, silentFrom);
        QFETCH(int, writes);
        LinkRig rig;
        tagImage(rig.module.EepromImage);
        rig.device.ignoresWrite = [=](const WordWrite &w) {
            return w.device == 0 && w.address >= silentFrom;
        };
        DeviceLink link(rig.module, rig.line, rig.clock, rig.recordProgress());

        QCOMPARE(link.WriteEEPROMAll(model), LinkStatus::Done);

        QCOMPARE(rig.device.writes.size(), writes);
        for (int d = 1; d < 4; ++d)
            QCOMPARE(rig.device.eeprom[d],
                     d < 3 || model ? rig.module.EepromImage[d] : DeviceWords{});
        // Each device runs up to 99 unless it stopped, 100, then 0 on devices 0..2.
        QCOMPARE(rig.progress.count("0"), 4);
        QCOMPARE(rig.progress.count("100"), 4);
        QCOMPARE(rig.progress.count("99"), silentFrom < 256 ? 2 : deviceCountOf(model));
        QCOMPARE(rig.progress.last(), "-100");
    }

    void writePartialWritesPortWordsOfDevices0To2()
    {
        LinkRig rig;
        for (int d = 0; d < 4; ++d)
            for (int i = 0; i < 16; ++i)
                rig.module.PortWords[d][i] = static_cast<quint16>(0x100 * d + i);
        DeviceLink link(rig.module, rig.line, rig.clock, rig.recordProgress());

        QCOMPARE(link.WriteEEPROMPartial(), LinkStatus::Done);

        QCOMPARE(rig.device.writes.size(), 48);
        QCOMPARE(rig.device.writes.at(0), (WordWrite{0, 0, 26, 0}));
        QCOMPARE(rig.device.writes.at(47), (WordWrite{2, 0, 56, 0x20F}));
        QCOMPARE(rig.progress, (QStringList{"1", "5", "21", "37", "53", "50", "100", "-100"}));
    }

    void phyAdvertisement_data()
    {
        QTest::addColumn<int>("secondWord");
        QTest::addColumn<int>("advertisement");
        QTest::newRow("all four abilities") << 0x4C5F << 1505;
        QTest::newRow("none") << 0x4C50 << 1025;
        QTest::newRow("10 full and 100 full") << 0x000A << 1345;
    }
    void phyAdvertisement()
    {
        QFETCH(int, secondWord);
        QFETCH(int, advertisement);
        LinkRig rig;
        rig.module.PortWords[1][2 * 5 + 1] = static_cast<quint16>(secondWord);
        rig.module.PhyUpdatePending = true;
        DeviceLink link(rig.module, rig.line, rig.clock);
        link.openPort();

        link.WriteToPHYRegister();
        link.WriteToPHYRegister(); // nothing pending any more: nothing sent

        QCOMPARE(rig.device.writes.size(), 3 * 8 * 4);
        QCOMPARE(rig.device.writes.mid(4 * (8 + 5), 4),
                 (QList<WordWrite>{{1, 1, 134, advertisement},
                                   {1, 1, 132, 16388 + 32 * 5},
                                   {1, 1, 134, 13056},
                                   {1, 1, 132, 16384 + 32 * 5}}));
        QVERIFY(!rig.module.PhyUpdatePending);
        QVERIFY(rig.line.isOpen()); // the caller's port stays open
    }
};

SWCFG_TEST_CLASS(DeviceLinkTest)
#include "device_link_test.moc"
