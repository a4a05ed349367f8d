#include "image/bin_file.h"
#include "image/device_models.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

using TestImages::tagWord;
using TestImages::validImage;

namespace
{

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Makes every write beyond `bytes` fail for this process, whoever runs it (root included).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit old_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

class BinFileTest : public QObject
{
    Q_OBJECT

private slots:
    void encodeLaysOutBlocksHighByteFirst_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("size");
        QTest::newRow("24-port") << 0 << 768;
        QTest::newRow("1000Base-SX") << 1 << 1024;
        QTest::newRow("32-port") << 2 << 1024;
    }
    void encodeLaysOutBlocksHighByteFirst()
    {
        QFETCH(int, model);
        QFETCH(int, size);
        ImageWords image = validImage(model);
        image[1][5] = 0x1234;
        const QByteArray bytes = BinFile::encode(image, model);
        QCOMPARE(bytes.size(), size);
        QCOMPARE(bytes.mid(256 + 10, 2), QByteArray("\x12\x34", 2));
        for (int d = 0; d < size / 256; ++d) {
            for (int w : {1, 64, 127}) {
                const int offset = d * 256 + 2 * w;
                QCOMPARE(static_cast<quint8>(bytes[offset]), tagWord(d, w) >> 8);
                QCOMPARE(static_cast<quint8>(bytes[offset + 1]), tagWord(d, w) & 0xFF);
            }
        }
    }

    void decodeReadsTheModelsBlocksOnly()
    {
        ImageWords file = validImage(2);
        file[0][0] |= 0x8000; // cleared on loading; the signature check then passes
        ImageWords base{};
        base[3].fill(0x4321);
        base[3][0] = 0xFFFF;

        // The 24-port model reads three blocks and leaves device 3 as it was (but for bit 15).
        const ImageWords model0 = BinFile::decode(BinFile::encode(file, 2), 0, base);
        for (int d = 1; d < 3; ++d)
            QCOMPARE(model0[d], file[d]);
        QCOMPARE(model0[3][1], 0x4321);
        QCOMPARE(model0[3][0], 0x7FFF);

        const ImageWords model2 = BinFile::decode(BinFile::encode(file, 2), 2, base);
        QCOMPARE(model2[0][0], file[0][0] & 0x7FFF);
        QCOMPARE(model2[3], file[3]);
        QCOMPARE(BinFile::check(model2, 2), BinFile::Verdict::Accepted);

        // A long file is read only as far as the model needs.
        const ImageWords longFile =
            BinFile::decode(BinFile::encode(file, 2) + QByteArray(512, '\x55'), 2, base);
        QCOMPARE(longFile, model2);
    }

    void decodeReadsMissingBytesAsZero()
    {
        const QByteArray bytes = BinFile::encode(validImage(1), 1).left(300);
        ImageWords base{};
        base[2].fill(0x1111);
        const ImageWords image = BinFile::decode(bytes, 1, base);
        QCOMPARE(image[0], validImage(1)[0]);
        QCOMPARE(image[1][21], tagWord(1, 21));
        QCOMPARE(image[1][22], 0); // bytes 300 and 301: the first missing word
        QCOMPARE(image[2][0], 0);
        QCOMPARE(image[3][127], 0);
        QCOMPARE(BinFile::check(image, 1), BinFile::Verdict::ContentsError);
    }

    void checkNamesWhatIsWrong_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("fileModel");
        QTest::addColumn<int>("brokenDevice"); // -1: signatures intact
        QTest::addColumn<QString>("message");
        const QString contents = QStringLiteral(" Binary File Contents Error ! ");
        QTest::newRow("valid 24-port") << 0 << 0 << -1 << QString();
        QTest::newRow("valid 1000Base-SX") << 1 << 1 << -1 << QString();
        QTest::newRow("valid 32-port") << 2 << 2 << -1 << QString();
        QTest::newRow("device 0 signature") << 1 << 1 << 0 << contents;
        QTest::newRow("device 1 signature") << 1 << 1 << 1 << contents;
        QTest::newRow("device 2 signature") << 2 << 2 << 2 << contents;
        QTest::newRow("device 3 not checked") << 2 << 2 << 3 << QString();
        QTest::newRow("32-port file, 24-port model")
            << 0 << 2 << -1 << QStringLiteral(" Error ! This is not 24-Port Binary File ! ");
        QTest::newRow("24-port file, 1000Base-SX model")
            << 1 << 0 << -1 << QStringLiteral(" Error ! This is not 24-Port,1000SX Binary File ! ");
        QTest::newRow("1000Base-SX file, 32-port model")
            << 2 << 1 << -1 << QStringLiteral(" Error ! This is not 32-Port Binary File ! ");
    }
    void checkNamesWhatIsWrong()
    {
        QFETCH(int, model);
        QFETCH(int, fileModel);
        QFETCH(int, brokenDevice);
        QFETCH(QString, message);
        ImageWords image = validImage(fileModel);
        if (brokenDevice >= 0)
            image[brokenDevice][0] ^= 0x0100; // one bit of the signature
        QCOMPARE(BinFile::verdictMessage(BinFile::check(image, model), model), message);
    }

    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("good.bin");
        const QByteArray good = BinFile::encode(validImage(2), 2);
        writeAll(path, good);
        std::optional<QString> error;
        {
            const FileSizeLimit limit(100); // the new contents cannot be written in full
            error = BinFile::save(path, validImage(1), 1);
        }
        QVERIFY(error);
        QVERIFY(error->startsWith(QStringLiteral("File Save Error !")));
        QCOMPARE(readAll(path), good);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"good.bin"});
    }
};

SWCFG_TEST_CLASS(BinFileTest)
#include "bin_file_test.moc"
