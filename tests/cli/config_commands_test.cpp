#include "config/vlan/vlan_membership.h"
#include "config_document.h"
#include "ctl_in_process.h"
#include "image/bin_file.h"
#include "image/factory_image.h"
#include "support/image_builders.h"
#include "support/test_main.h"
#include "ui/properties_fixture.h"

#include <QRandomGenerator>

#include <algorithm>

namespace
{

const QStringList kModels{"24", "24sx", "32"};

// A configuration the properties dialog could make, drawn at random; odd seeds trunk by MAC
// address.
SwitchConfiguration generated(int model, int seed)
{
    QRandomGenerator draw{quint32(seed)};
    SwitchConfiguration config = OpenedConfiguration(factoryImage(model), model).settings();
    for (PortSettings &port : config.ports) {
        port.security = draw.bounded(4) == 0;
        port.learning = !port.security && draw.bounded(2);
        port.stormControl = draw.bounded(2);
        port.flowControl = draw.bounded(2);
        port.link = LinkSetting(draw.bounded(5));
    }
    const bool mac = seed % 2;
    config.method = mac ? TrunkMethod::MacAddress : TrunkMethod::PortBased;
    std::vector<int> pair; // shuffled; the first trunk takes 2 to 6 of them, its partner the rest
    int cut = 0;
    for (int t = 0; t < deviceModelInfo(model).trunkCount; ++t) {
        TrunkSettings &trunk = config.trunks[t];
        trunk.inUse = draw.bounded(3) > 0;
        if (mac && t % 2 == 0) {
            pair.clear();
            for (int i = 0; i < 8; ++i)
                pair.push_back(TrunkLayout::macPortUserIndex(t, i));
            std::shuffle(pair.begin(), pair.end(), draw);
            cut = 2 + draw.bounded(5);
        }
        if (!trunk.inUse)
            continue;
        if (mac) {
            trunk.members.assign(pair.begin() + (t % 2 ? cut : 0),
                                 t % 2 ? pair.end() : pair.begin() + cut);
            config.hashIndex = draw.bounded(4);
        } else {
            for (int m = 0; m < 4; ++m) {
                if (m < 2 || draw.bounded(2))
                    trunk.members.push_back(TrunkLayout::memberUserIndex(t, m));
            }
            for (int p = 0; p < switchPorts(model); ++p) {
                const bool member = std::count(trunk.members.begin(), trunk.members.end(), p);
                trunk.mapping.push_back(
                    member ? p : trunk.members[draw.bounded(int(trunk.members.size()))]);
            }
        }
        std::sort(trunk.members.begin(), trunk.members.end());
    }
    const auto choices =
        VlanMembership::available(PropertiesFixture(model).state, trunkPageFor(config));
    const int groups = seed == 3 ? 32 : draw.bounded(6);
    while (int(config.vlans.size()) < groups) {
        VlanGroupSettings group;
        for (int p = 0; p < switchPorts(model); ++p) {
            if (choices.ports[p] && draw.bounded(4) == 0)
                group.ports.push_back(p);
        }
        for (int t = 0; t < kTrunkCount; ++t) {
            if (choices.trunks[t] && draw.bounded(3) == 0)
                group.trunks.push_back(t);
        }
        if (group.ports.size() + group.trunks.size() >= 2)
            config.vlans.push_back(group);
    }
    return config;
}

} // namespace

class ConfigCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    // apply writes what the document says (show --json prints it back as it was given), applying
    // that again over its output gives the same file, and the properties dialog opens the file
    // and keeps it word for word on OK. The first apply reads standard input and writes standard
    // output, show and the second apply read the file from standard input too; without --model,
    // apply takes the document's model and show the file's. Seed -1: a file whose words hold
    // anything at all comes back from show --json's own document too.
    void roundTrip_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("seed");
        for (int row = 0; row < 3 * 7; ++row)
            QTest::addRow("%s, seed %d", qPrintable(kModels[row / 7]), row % 7 - 1)
                << row / 7 << row % 7 - 1;
    }
    void roundTrip()
    {
        QFETCH(int, model);
        QFETCH(int, seed);
        QTemporaryDir dir;
        const QByteArray document =
            ConfigDocument::toText(ConfigDocument::fromConfiguration(generated(model, seed)));
        CtlResult run = ctl("apply -c - -o -", dir, document);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        put(dir, "first.bin",
            seed < 0 ? BinFile::encode(TestImages::validImage(model), model) : run.bytes);
        run = ctl("show --json -", dir, get(dir, "first.bin"));
        QVERIFY2(seed < 0 || run.bytes == document, run.bytes.constData());
        put(dir, "wanted.json", run.bytes);

        ctl("apply -m " + kModels[model] + " -c {dir}/wanted.json --in - -o {dir}/again.bin", dir,
            get(dir, "first.bin"));
        QCOMPARE(get(dir, "again.bin"), get(dir, "first.bin"));
        QCOMPARE(ctl("diff {dir}/again.bin -", dir, get(dir, "first.bin")).status, 0);
        if (seed < 0) // OK may tidy the words of an image no switch holds
            return;
        PropertiesFixture d(model);
        d.state.takeLoadedImage(*BinFile::load(dir.filePath("first.bin"), model, {}).image);
        d.open();
        d.click({"okButton"});
        QCOMPARE(BinFile::encode(d.state.eepromImage, model), get(dir, "first.bin"));
    }

    // A document the dialog could not have produced is refused with the path of the offending
    // field, and the output keeps what it held. The document is applied over `input`, applied
    // to the factory image first. {h} is the document's head for the 24sx model ({h32} for the
    // 32-port one), {mac} and {p3} open MAC-address-based trunks ({mac32} too) and port-based
    // trunk 3 (members 5 and 17), whose {map} sends ports 1 to 25 but 5 and 17 through 5.
    void refusals_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("path"); // the field named, or where the JSON breaks
        const char *const rows[][4] = {
            {"port the port page lacks", "", R"({h}, "ports": {"25": {}}})", "ports.25"},
            {"trunk the model lacks", "", R"({mac}{"7": {"members": [25, 26]}}}})",
             "trunks.groups.7"},
            {"VLAN port the model lacks", "", R"({h}, "vlans": [{"ports": [1, 27]}]})",
             "vlans[0].ports: no port 27 on this model (ports 1 to 26)"},
            {"a port key with a leading zero or a plus sign", "",
             R"({h}, "ports": {"07": {}, "+7": {}}})", "ports.+7"},
            {"a port listed twice", "", R"({h}, "vlans": [{"ports": [1, 2, 1]}]})",
             "vlans[0].ports[2]: port 1 is listed twice"},
            {"port in both trunks of a pair", "",
             R"({mac}{"1": {"members": [1, 2]}, "2": {"members": [1, 3, 4, 13, 14, 15, 16]}}}})",
             "trunks.groups.2.members: port 1 is in trunk 1 as well"},
            {"port in both trunks 7 and 8", "",
             R"({mac32}{"7": {"members": [25, 26]}, "8": {"members": [25, 27, 28, 29, 30]}}}})",
             "trunks.groups.8.members: port 25 is in trunk 7 as well"},
            {"a fraction for a port", "", R"({h}, "vlans": [{"ports": [1, 2.5]}]})",
             "vlans[0].ports[1]: must be written as a whole number, not 2.5"},
            {"an exponent for a port", "", R"({mac}{"1": {"members": [1, 2e0]}}}})",
             "trunks.groups.1.members[1]: must be written as a whole number, not 2e0"},
            {"a hash of port-based trunks", "",
             R"({h}, "trunks": {"method": "port", "hash": "SA crc."}})",
             "trunks.hash: a hash method applies only while a MAC-address-based trunk is in use"},
            {"a hash without a trunk", "", R"({mac}{}, "hash": "SA crc."}})", "trunks.hash"},
            {"pair leaving a port out", "",
             R"({mac}{"1": {"members": [1, 2]}, "2": {"members": [3, 4, 13, 14, 15]}}}})",
             "trunks.groups.2.members"},
            {"trunk of one member", "", R"({mac}{"1": {"members": [1]}}}})",
             "trunks.groups.1.members"},
            {"a mapping of a MAC-address-based trunk", "",
             R"({mac}{"1": {"members": [1, 2], "mapping": {}}}}})", "trunks.groups.1.mapping"},
            {"member outside its trunk", "", R"({mac}{"1": {"members": [1, 5]}}}})",
             "trunks.groups.1.members"},
            {"port-based trunk without mapping", "",
             R"({h}, "trunks": {"method": "port", "groups": {"3": {"members": [5, 6]}}}})",
             "trunks.groups.3.mapping"},
            {"mapping without port 26", "", R"({p3}{{map}, "5": 5, "17": 17, "26": null}}}}})",
             "trunks.groups.3.mapping.26"},
            {"member mapped to another member", "", R"({p3}{{map}, "5": 5, "17": 5, "26": 5}}}}})",
             "trunks.groups.3.mapping.17: port 17 is a member and must send through itself, not "
             "through port 5"},
            {"a port mapped through one not a member", "",
             R"({p3}{{map}, "5": 5, "17": 17, "26": 6}}}}})",
             "trunks.groups.3.mapping.26: port 6 is not a member of trunk 3"},
            {"member the model lacks", "", R"({mac}{"1": {"members": [1, 27]}}}})",
             "trunks.groups.1.members[1]: no port 27 here (ports 1 to 26)"},
            {"a port given twice", "", R"({h}, "ports": {"1": {}, "1": {}}})",
             "ports.1: duplicate key"},
            {"a key of a group given twice", "",
             R"({h}, "vlans": [{"ports": [1, 2], "p\u006frts": [3, 4]}]})",
             "vlans[0].ports: duplicate key"},
            // The duplicate-key scanner reads strings as JSON does: escapes inside keys and
            // values, objects in lists; equal strings in a list are no keys.
            {"a key of quote and backslash given twice", "",
             "{h}, \"ports\": {\"1\": {\"a\\\\\\\"\": 1, \"a\\\\\\\"\": 2}}}",
             "ports.1.a\\\": duplicate key"},
            {"a value's escaped quote before a key given twice", "",
             "{h}, \"ports\": {\"1\": {\"link\": \"x\\\"\", \"link\": \"auto\"}}}",
             "ports.1.link: duplicate key"},
            {"a port key given twice, once escaped", "",
             R"({h}, "ports": {"1": {}, "\u0031": {}}})", "ports.1: duplicate key"},
            {"a key given twice in a later group", "",
             R"({h}, "vlans": [{"ports": [1, 2]}, {"ports": [3], "trunks": [], "trunks": []}]})",
             "vlans[1].trunks: duplicate key"},
            {"equal strings in a list", "", R"({h}, "vlans": ["x", "x"]})",
             "vlans[0]: must be an object"},
            {"a NUL in a key, shown escaped", "", R"({h}, "ports": {"1": {"a\u0000": 1}}})",
             "ports.1.a\\u0000: unknown key"},
            {"group of one member", "", R"({h}, "vlans": [{"ports": [1]}]})", "vlans[0]"},
            {"group holding a trunk member", "",
             R"({mac}{"1": {"members": [1, 2]}}}, "vlans": [{"ports": [3, 2]}]})",
             "vlans[0].ports"},
            {"group holding a trunk not in use", "",
             R"({h}, "vlans": [{"ports": [3], "trunks": [2]}]})", "vlans[0].trunks"},
            {"a group of the input holding a new member of its trunk",
             R"({mac}{"1": {"members": [1, 2]}}}, "vlans": [{"ports": [3, 4]}]})",
             R"({mac}{"1": {"members": [1, 2, 3, 4]}}}})", "vlans[0].ports"},
            {"security with learning", "",
             R"({h}, "ports": {"7": {"security": true, "learning": true}}})", "ports.7.learning"},
            {"learning on a secured port of the input",
             R"({h}, "ports": {"7": {"security": true}}})",
             R"({h}, "ports": {"7": {"learning": true}}})", "ports.7.learning"},
            {"unknown key", "", R"({h}, "ports": {"1": {"speed": 100}}})", "ports.1.speed"},
            {"wrong type", "", R"({h}, "ports": {"1": {"security": "yes"}}})", "ports.1.security"},
            {"another model", "", R"({"format": "swcfg-config", "version": 1, "model": "32"})",
             "model"},
            {"a later version", "", R"({"format": "swcfg-config", "version": 2})", "version"},
            {"33 groups", "", R"({h}, "vlans": [{33}]})", "vlans"},
            {"not JSON", "", "{h},", ":1:"}};
        for (const auto &[name, input, document, path] : rows)
            QTest::newRow(name) << QString(input) << QString(document) << QString(path);
    }
    void refusals()
    {
        QFETCH(QString, input);
        QFETCH(QString, document);
        QFETCH(QString, path);
        QStringList map;
        for (int p = 1; p <= 25; ++p) {
            if (p != 5 && p != 17)
                map << QStringLiteral("\"%1\": 5").arg(p);
        }
        const auto expand = [&map](QString text) {
            return text.replace("{mac32}", R"({h32}, "trunks": {"method": "mac", "groups": )")
                .replace("{h32}", R"({"format": "swcfg-config", "version": 1, "model": "32")")
                .replace("{mac}", R"({h}, "trunks": {"method": "mac", "groups": )")
                .replace("{p3}", QString(R"({h}, "trunks": {"method": "port", "groups": )") +
                                     R"({"3": {"members": [5, 17], "mapping": )")
                .replace("{33}", QStringList(33, "{}").join(", "))
                .replace("{map}", map.join(", "))
                .replace("{h}", R"({"format": "swcfg-config", "version": 1, "model": "24sx")")
                .toUtf8();
        };
        QTemporaryDir dir;
        const QString model = document.contains("32}") ? "32" : "24sx";
        put(dir, "in.json", expand(!input.isEmpty() ? input : model == "32" ? "{h32}}" : "{h}}"));
        QCOMPARE(ctl("apply -m " + model + " -c {dir}/in.json -o {dir}/in.bin", dir).status, 0);
        put(dir, "c.json", expand(document));
        put(dir, "out.bin", "old");
        const CtlResult run =
            ctl("apply -m " + model + " -c {dir}/c.json --in {dir}/in.bin -o {dir}/out.bin", dir);
        QCOMPARE(run.status, 2);
        const QString named = path.startsWith(':')                 ? path
                              : path.contains(QLatin1String(": ")) ? ": " + path
                                                                   : ": " + path + ": ";
        QVERIFY2(run.err.startsWith(dir.filePath("c.json") + named), qPrintable(run.err));
        QCOMPARE(get(dir, "out.bin"), QByteArray("old"));
    }
};

SWCFG_TEST_CLASS(ConfigCommandsTest)
#include "config_commands_test.moc"
