#include "image/bin_file.h"
#include "image/factory_image.h"
#include "support/test_main.h"

#include <QTest>

// The switch starts from its factory image unless told otherwise, and scripts/run offers it to
// open.
class FactoryImageTest : public QObject
{
    Q_OBJECT

private slots:
    void factoryImageIsAValidImageOfItsModel()
    {
        for (int model : {0, 1, 2})
            QCOMPARE(BinFile::check(factoryImage(model), model), BinFile::Verdict::Accepted);
    }
};

SWCFG_TEST_CLASS(FactoryImageTest)
#include "factory_image_test.moc"
