#include "config/properties_codec.h"
#include "config/vlan/vlan_groups.h"
#include "config/vlan/vlan_membership.h"
#include "config_script.h"
#include "support/test_main.h"

#include <QRegularExpression>
#include <QTest>

namespace
{

// Groups from "1 2|5 6 t1": group 1 of ports 1 and 2, group 2 of ports 5 and 6 and trunk 1.
void setGroups(ImageState &state, const QString &groups)
{
    const QStringList all = groups.split(QLatin1Char('|'));
    state.vlanGroupCount = groups.isEmpty() ? 0 : all.size();
    for (int g = 0; g < state.vlanGroupCount; ++g) {
        for (const QString &member : all[g].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (member.startsWith(QLatin1Char('t')))
                state.vlanTrunkMember[g][member.mid(1).toInt() - 1] = true;
            else
                state.vlanPortMember[g][member.toInt() - 1] = true;
        }
    }
}

} // namespace

class TrunkVlanCodecTest : public QObject
{
    Q_OBJECT

private slots:
    // The port boxes of trunks 1 and 2, and the members of port-based trunks in use, after a
    // script of clicks (or a decode).
    void pairRules_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("trunks");
        auto row = [](const char *name, const char *script, const char *trunks) {
            QTest::newRow(name) << QString::fromLatin1(script) << QString::fromLatin1(trunks);
        };
        row("alone: the first four", "+1", "0123|");
        row("partner: the rest", "+1 +2", "0123|4567");
        row("a port given up goes over", "+1 +2 1-0", "123|04567");
        row("at least two ports", "+1 1-2 1-3 1-1", "01|");
        row("partner keeps its two", "+1 1+4 1+5 +2 1+6", "012345|67");
        row("partner of seven, 7 free", "+1 1+4 1+5 1+6 +2", "012345|67");
        row("partner of seven, 2 free", "+1 1+4 1+5 1+6 1+7 1-2 +2", "013456|27");
        row("partner of seven, 6 free", "+1 1+4 1+5 1+7 +2", "012345|67");
        row("partner of eight", "+1 1+4 1+5 1+6 1+7 +2", "012345|67");
        row("deselected: ports left free", "+1 +2 -1", "|4567");
        row("reselected: the free ports", "+1 +2 -1 2-5 +1", "01235|467");
        // Decoding runs the same rules: odd member bytes come out as the rules leave them.
        row("decoded, port based: nothing", "!55AA", "|");
        row("decoded, a single port keeps a second", "=0002", "03|");
        row("decoded, a trunk alone of its fourth and eighth ports", "=00C0", "37|");
        row("decoded, unheld ports go to a trunk", "=0C03", "023467|15");
        // Port-based member boxes: never fewer than two, and all four on trunks 7 and 8 under
        // MAC-address-based trunking.
        row("members unchecked one by one", "port P1 P1-3 P1-0 P1-1", "| P1:12");
        row("trunks 7 and 8 under MAC", "mac P7 P7-1 P8 P8-2", "| P7:0123 P8:0123");
    }
    void pairRules()
    {
        QFETCH(QString, script);
        TrunkBoard board;
        runScript(board, script);
        const TrunkPageState &s = board.state();
        QString shown =
            checkedBoxes(s.mac.port[0]) + QLatin1Char('|') + checkedBoxes(s.mac.port[1]);
        for (int t = 0; t < TrunkLayout::kTrunks; ++t) {
            if (s.port.trunk[t])
                shown += QStringLiteral(" P%1:").arg(t + 1) + checkedBoxes(s.port.member[t]);
        }
        QTEST(shown, "trunks");
        for (int t : {0, 1}) {
            for (int i = 0; i < 8; ++i)
                QCOMPARE(s.mac.portEnabled[t][i], s.mac.trunk[t]);
        }
    }

    // Showing the VLAN page again: the groups lose the ports of the trunks in use (a trunk box
    // that a change of method cleared leaves its port boxes checked) and the trunks not in use.
    // The group dialogs offer the ports of the model but trunk members (of trunks 7 and 8 on the
    // 32-port model only), and the trunks in use. "P7-": port-based trunk 7 unchecked with its
    // four boxes checked; "M1+": MAC-address-based trunk 1 checked with its eight.
    void groupsLoseTrunkMembers_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("trunks");
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("offered"); // the ports not offered / the trunks offered
        auto row = [](const char *name, int model, const char *trunks, const char *groups,
                      const char *after, const char *offered) {
            QTest::newRow(name) << model << QString(trunks) << QString(groups) << QString(after)
                                << QString(offered);
        };
        row("port-based trunk in use", 2, "P1+", "1 5|2 t1", "5 /|/1 ", "1 2 13 14 /1 ");
        row("a cleared trunk box", 2, "P7-", "1 25 t7", "1 25 /", "25 26 29 30 /");
        row("MAC-address-based", 2, "M1+", "1 5 t1|6 t2", "5 /1 |6 /", "1 2 3 4 13 14 15 16 /1 ");
        row("MAC, trunk 7", 2, "M7+", "1 25 t7", "1 /7 ", "25 26 27 28 29 30 31 32 /7 ");
        row("1000Base-SX", 1, "", "1 26", "1 26 /", "27 28 29 30 31 32 /");
    }
    void groupsLoseTrunkMembers()
    {
        QFETCH(int, model);
        QFETCH(QString, trunks);
        QFETCH(QString, groups);
        ImageState state;
        setModel(state, model);
        setGroups(state, groups);
        TrunkPageState page;
        page.method = trunks.startsWith('M') ? TrunkMethod::MacAddress : TrunkMethod::PortBased;
        page.shownTab = page.method == TrunkMethod::MacAddress ? 1 : 0;
        for (const QString &trunk : trunks.split(' ', Qt::SkipEmptyParts)) {
            const int t = trunk.mid(1, 1).toInt() - 1;
            const bool mac = trunk[0] == 'M';
            (mac ? page.mac.trunk : page.port.trunk)[t] = trunk.endsWith('+');
            page.port.mappingEnabled[t] = !mac && trunk.endsWith('+');
            if (mac)
                page.mac.port[t].fill(true);
            else
                page.port.member[t].fill(true);
        }
        VlanMembership::dropTrunkMembers(state, page);
        QStringList after;
        for (int g = 0; g < state.vlanGroupCount; ++g)
            after << VlanGroups::portText(state, g) + '/' + VlanGroups::trunkText(state, g);
        QTEST(after.join('|'), "after");
        const VlanMembership::Choices choices = VlanMembership::available(state, page);
        for (int p = 0; p < kUserPortCount; ++p) // group 32 holds what is left out
            state.vlanPortMember[31][p] = !choices.ports[p];
        state.vlanTrunkMember[31] = choices.trunks;
        QTEST(VlanGroups::portText(state, 31) + '/' + VlanGroups::trunkText(state, 31), "offered");
    }

    // Group records decoded: each device's slots up to the first empty record (bits 0 to 7 of
    // the third word are no member), then the second half of device 2's; ports 1 to 16 in the
    // second word, 17 to 32 in the first, trunks in bits 8 to 15 of the third.
    void decodeGroups_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("groups");
        QTest::newRow("low bits only end the device") << "0:66=00FF 0:73=0003 1:65=0030 1:66=0001"
                                                      << "5 6 /";
        QTest::newRow("ports 17 and 32, trunks 1 and 8") << "0:64=8001 0:66=81FF"
                                                         << "17 32 /1 8 ";
        QTest::newRow("device 2's second half") << "2:69=0101 2:77=0002"
                                                << "1 9 /|2 /";
    }
    void decodeGroups()
    {
        QFETCH(QString, words);
        ImageState state;
        for (const QString &item : words.split(' ')) {
            const QStringList at = item.split(QRegularExpression("[:=]"));
            state.eepromImage[at[0].toInt()][at[1].toInt()] = quint16(at[2].toUInt(nullptr, 16));
        }
        VlanGroups::decodeVlanGroups(state);
        QStringList groups;
        for (int g = 0; g < state.vlanGroupCount; ++g)
            groups << VlanGroups::portText(state, g) + '/' + VlanGroups::trunkText(state, g);
        QTEST(groups.join('|'), "groups");
    }

    // OK on an image whose every word is 0x4000 (all bits with "ones"): trunk words, copies, hash,
    // method and in-use bits, the members' trunk flags, VLAN group records (by user port) and the
    // forwarding masks (by chip port), with trunks folded in.
    void encode_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("words");
        auto row = [](const char *name, int model, const char *script, const QString &groups,
                      const char *words) {
            QTest::newRow(name) << model << QString::fromLatin1(script) << groups
                                << QString::fromLatin1(words);
        };
        row("trunk 1", 0, "mac +1", QString(),
            "0:48=00AA 1:48=00AA 2:48=00AA 3:48=4000 0:0=4008 2:0=4008 3:0=4000 0:2=5800 0:3=4070 "
            "0:15=020F 0:13=000F 0:19=020F");
        row("trunk 2 after 1", 0, "mac +1 +2 h1", QString(), "0:48=55AA 2:48=55AA 0:52=5555");
        row("DA crc.", 2, "mac h2 +3", QString(), "0:49=00AA 3:49=00AA 0:52=AAAA 3:52=AAAA");
        row("no trunk", 2, "mac h2", QString(), "0:52=0000 0:2=4000 0:0=4008 3:0=4008 0:48=0000");
        row("trunk 8, 32 ports", 2, "mac +8 h3", QString(),
            "0:51=AA00 3:51=AA00 3:52=FFFF 3:2=5800 3:3=4070 3:15=020F 3:13=000F 0:28=4C5F "
            "3:28=4C5F");
        // Starting from all bits set (port words too): what is reset before the trunks and
        // groups are encoded.
        row("reset, 24 ports", 0, "ones", QString(),
            "0:0=FFF7 2:2=E7FF 1:3=FF8F 0:48=0000 2:55=0000 0:15=FDFF 0:64=0000 0:65=0000 "
            "0:66=00FF "
            "0:67=FFFF 1:122=00FF 2:68=0000 2:70=00FF 2:71=FFFF 1:68=FFFF 3:0=FFF7 3:2=FFFF "
            "3:3=FFFF 3:48=FFFF 3:21=FFFF 3:13=FFFF 3:64=FFFF");
        row("reset, 1000Base-SX", 1, "ones", QString(),
            "3:0=FFF7 3:2=E7FF 3:3=FF8F 3:48=FFFF 3:21=F00F 3:24=F00F 3:25=0000 3:26=FFFF "
            "3:20=FFFF 3:13=FFFF");
        row("reset, 32 ports", 2, "ones", QString(),
            "3:0=FFF7 3:2=E7FF 3:48=0000 3:55=0000 3:21=FDFF 3:13=FDFF");
        row("1000Base-SX module", 1, "mac +1 +3 h2", QString(),
            "3:0=4008 3:21=00AA 3:22=00AA 3:23=0000 3:24=0000 3:25=0000 3:20=4000 3:48=4000 "
            "3:52=4000 3:2=4000 3:3=4000 3:16=03FF 3:17=FFFF 3:29=4000 0:52=AAAA 3:13=4000 "
            "2:28=4C5F");
        // Ports 2 and 23 are chip ports 3 and 20.
        row("group of ports 2 and 23", 0, "", QStringLiteral("2 23"),
            "0:64=0040 0:65=0002 0:66=0000 0:67=4000 0:35=0010 0:36=0008 2:37=0010 2:38=0008 "
            "0:29=00EF 0:30=FFF7 2:31=00EF 1:44=FFF7 0:72=0000");
        row("no group, 24 ports", 0, "", QString(), "0:29=00FF 0:30=FFFF 2:44=FFFF 3:29=4000");
        row("no group, 1000Base-SX", 1, "", QString(),
            "0:29=03FF 3:16=03FF 3:17=FFFF 3:19=FFFF 3:29=4000");
        row("no group, 32 ports", 2, "", QString(), "0:29=FFFF 3:43=FFFF 3:44=FFFF");
        // Trunk 1 of ports 1 and 2 (chip ports 1 and 3) with ports 5 and 6 (chip 9 and 11).
        row("group holding a trunk", 0, "mac +1 1-2 1-3", QStringLiteral("5 6 t1"),
            "0:31=0000 0:32=0A00 0:36=0A00 1:32=0A0A 1:36=0A0A 0:30=F5F5 0:66=0100");
        // Port 3 (chip port 5) shares the trunk's ports and is dropped with them.
        row("trunk's port group decides", 0, "mac +1 1-2 1-3", QStringLiteral("3 t1"),
            "0:32=0000 0:36=0000 0:40=0020 0:30=FFD5");
        row("trunk, no group", 0, "mac +1 1-2 1-3", QString(), "0:32=FFF5 0:40=FFFF 0:31=00FF");
        row("an empty group is left out", 0, "", QStringLiteral("1 2||5 6"),
            "0:65=0003 0:73=0030 0:81=0000");
        row("a record's bits 0 to 7 are kept", 0, "ones", QStringLiteral("1 2"),
            "0:64=0000 0:65=0003 0:66=00FF");
        // Port-based trunks: select words (two bits a trunk: the chip offset of the member),
        // member flags, and masks that reach only the mapped member of each trunk.
        row("select word of port 9", 0, "port P1 P3 m1:9=2 m3:9=0", QString(),
            "2:49=0010 0:13=020F 0:19=020F 1:17=020F 1:23=000F 0:48=0000");
        row("1000Base-SX ports 25, 26", 1, "port P1 m1:25=1 m1:26=3", QString(),
            "3:21=0003 3:22=0002 3:23=0000 3:24=0000 3:16=03FF 3:17=FFF8 3:20=0000");
        row("no group, port 3 to Port 2", 0, "port P1 m1:3=1", QString(), "0:40=FFF8 0:39=00FF");
        row("no group, port 3 unmapped", 0, "port P1", QString(), "0:40=FFF0");
        row("to Port 8", 0, "port P4 m4:1=1", QString(), "0:32=8FFF");
        row("to Port28", 2, "port P8 m8:1=1", QString(), "0:31=8FFF");
        row("outside the groups: member box 0", 0, "port P1", QStringLiteral("5 6"), "0:40=F5F2");
        row("two groups: the union", 0, "port P1", QStringLiteral("3 4 t1|3 5"),
            "0:40=02A2 0:44=00A2 0:34=00A0 1:35=00FF 1:36=FD50");
        QStringList thirtyTwo;
        for (int port = 1; port <= 32; ++port)
            thirtyTwo << QString::number(port);
        row("32 groups", 2, "", thirtyTwo.join(QLatin1Char('|')),
            "0:65=0001 2:120=0080 2:68=0100 2:69=0000 2:124=8000");
    }
    void encode()
    {
        QFETCH(int, model);
        QFETCH(QString, script);
        ImageState state;
        setModel(state, model);
        const bool ones = script.startsWith(QLatin1String("ones"));
        for (auto &device : state.vlanMap)
            device.fill(0x1000); // stale: OK starts the masks afresh
        for (auto &device : state.eepromImage)
            device.fill(ones ? 0xFFFF : 0x4000);
        if (ones) {
            for (auto &device : state.portWords)
                device.fill(0xFFFF);
        }
        QFETCH(QString, groups);
        setGroups(state, groups);
        TrunkBoard board;
        board.enableModuleTrunks(state.model().moduleTrunks);
        board.selectMethod(TrunkMethod::PortBased);
        runScript(board, script, &state);
        PropertiesCodec::encode(state, board.state());
        QFETCH(QString, words);
        compareWords(state.eepromImage, words);
    }
};

SWCFG_TEST_CLASS(TrunkVlanCodecTest)
#include "codec_test.moc"
