#include "image/bin_file.h"
#include "support/files.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

Q_DECLARE_METATYPE(ImageWords)

namespace
{

// The file as its format lays it out: 256 bytes per device, every word high byte first.
QByteArray fileBytes(const ImageWords &image, int devices)
{
    QByteArray bytes;
    for (int d = 0; d < devices; ++d) {
        for (quint16 word : image[d])
            bytes.append(char(word >> 8)).append(char(word & 0xFF));
    }
    return bytes;
}

ImageWords withWord0(ImageWords image, int device, quint16 flip)
{
    image[device][0] ^= flip;
    return image;
}

} // namespace

class BinFileTest : public QObject
{
    Q_OBJECT

private slots:
    // A file of `image` is decoded for the selected model over an image that was there before,
    // then checked. An accepted one holds the model's devices with bit 15 of word 0 cleared
    // (on the device kept from before too) and encodes back to the same bytes.
    void fileFormat_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<ImageWords>("image");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message"); // empty: accepted
        const auto row = [](const char *name, int model, const ImageWords &image,
                            const QByteArray &file, const QString &message) {
            QTest::newRow(name) << model << image << file << message;
        };
        const auto valid = TestImages::validImage;
        const QString contents = QStringLiteral(" Binary File Contents Error ! ");
        const ImageWords bit15 = withWord0(withWord0(valid(1), 0, 0x8000), 3, 0x8000);

        row("24-port", 0, valid(0), fileBytes(valid(0), 3), QString());
        row("1000Base-SX, bit 15 set", 1, bit15, fileBytes(bit15, 4), QString());
        row("32-port, longer than needed", 2, valid(2),
            fileBytes(valid(2), 4) + QByteArray(512, '\x55'), QString());
        row("cut short in device 1", 1, valid(1), fileBytes(valid(1), 4).left(300), contents);
        row("module device missing", 1, valid(1), fileBytes(valid(1), 4).left(768), contents);
        row("one byte short", 0, valid(0), fileBytes(valid(0), 3).chopped(1), contents);
        row("device 0 signature", 0, valid(0), fileBytes(withWord0(valid(0), 0, 0x0100), 3),
            contents);
        row("device 1 signature, bit 12", 1, valid(1), fileBytes(withWord0(valid(1), 1, 0x1000), 4),
            contents);
        row("device 2 signature", 2, valid(2), fileBytes(withWord0(valid(2), 2, 0x0010), 4),
            contents);
        const ImageWords device3 = withWord0(valid(2), 3, 0x0100);
        row("device 3 not checked", 2, device3, fileBytes(device3, 4), QString());
        row("32-port file, 24-port model", 0, valid(2), fileBytes(valid(2), 4),
            " Error ! This is not 24-Port Binary File ! ");
        row("24-port file, 1000Base-SX model", 1, valid(0), fileBytes(valid(0), 4),
            " Error ! This is not 24-Port,1000SX Binary File ! ");
        row("1000Base-SX file, 32-port model", 2, valid(1), fileBytes(valid(1), 4),
            " Error ! This is not 32-Port Binary File ! ");
        // Whole for its own model, short for the selected one: the model is named first.
        row("768-byte 24-port file, 32-port model", 2, valid(0), fileBytes(valid(0), 3),
            " Error ! This is not 32-Port Binary File ! ");
    }
    void fileFormat()
    {
        QFETCH(int, model);
        QFETCH(ImageWords, image);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        ImageWords before = TestImages::validImage(model);
        before[3].fill(0x4321);
        before[3][0] = 0xFFFF;

        const BinFile::Loaded loaded = BinFile::fromBytes(file, model, before);

        QCOMPARE(loaded.error, message);
        if (!message.isEmpty())
            return;
        const ImageWords decoded = *loaded.image;
        ImageWords expected = image;
        if (model == 0)
            expected[3] = before[3];
        for (auto &device : expected)
            device[0] &= 0x7FFF;
        QVERIFY(decoded == expected);
        QCOMPARE(BinFile::encode(decoded, model), fileBytes(expected, model == 0 ? 3 : 4));
    }

    // A saved file that replaces another keeps its read, write and execute bits, and its owner
    // where the saver may give it (root gives it back to nobody here), but never a set-user-ID,
    // set-group-ID or sticky bit. A new file gets the mode every new file gets.
    void savedMode_data()
    {
        QTest::addColumn<int>("before"); // -1: no file
        QTest::addColumn<int>("after");
        const mode_t mask = umask(0);
        umask(mask);
        QTest::newRow("0644") << 0644 << 0644;
        QTest::newRow("6777 and sticky") << 07777 << 0777;
        QTest::newRow("new") << -1 << int(0666 & ~mask);
    }
    void savedMode()
    {
        QFETCH(int, before);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("c.bin"));
        const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
        if (before >= 0) {
            QVERIFY(putFile(path, "old"));
            QVERIFY(chown(path, owner, gid_t(-1)) == 0 && chmod(path, mode_t(before)) == 0);
        }
        QVERIFY(!BinFile::save(path, TestImages::validImage(0), 0));
        struct stat saved;
        QVERIFY(stat(path, &saved) == 0);
        QTEST(int(saved.st_mode & 07777), "after");
        QCOMPARE(saved.st_uid, before >= 0 ? owner : geteuid());
        QCOMPARE(::fileBytes(path), fileBytes(TestImages::validImage(0), 3));
    }

    // The file, a hard link of another one, then swapped again and again from a second thread for
    // that link and for a symbolic link to a folder: whenever the swap comes, neither the other
    // file nor the folder changes.
    void saveLeavesLinkTargetAlone()
    {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("c.bin"));
        const QByteArray target = QFile::encodeName(dir.filePath("target"));
        const QByteArray plain = path + ".plain";
        QVERIFY(mkdir(target, 0700) == 0 && putFile(plain, "x") && chmod(plain, 06777) == 0);
        QVERIFY(link(plain, path) == 0 && !BinFile::save(path, TestImages::validImage(0), 0));
        std::atomic<bool> saving{true};
        std::thread swapper([&] {
            for (int i = 0; saving; ++i) {
                const QByteArray next = path + QByteArray::number(i % 2);
                if ((i % 2 ? symlink(target, next) : link(plain, next)) == 0)
                    rename(next, path);
            }
        });
        for (int i = 0; i < 500; ++i)
            BinFile::save(path, TestImages::validImage(0), 0);
        saving = false;
        swapper.join();
        struct stat after;
        QVERIFY(stat(target, &after) == 0);
        QCOMPARE(after.st_mode & 07777, mode_t(0700));
        QVERIFY(stat(plain, &after) == 0);
        QCOMPARE(after.st_mode & 07777, mode_t(06777));
    }
};

SWCFG_TEST_CLASS(BinFileTest)
#include "bin_file_test.moc"
