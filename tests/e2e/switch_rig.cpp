#include "switch_rig.h"

#include "image/bin_file.h"
#include "link/qt_serial_line.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>

SwitchRig::~SwitchRig()
{
    if (!comVariable_.isEmpty())
        qunsetenv(comVariable_.constData());
}

bool SwitchRig::start(int simModel, const QStringList &simArguments, int comPort)
{
    model = simModel;
    if (!sim.start(QStringList{QStringLiteral("--model"), QString::number(model)} + simArguments))
        return false;
    comVariable_ = QByteArray("SWCFG_COM") + QByteArray::number(comPort);
    qputenv(comVariable_.constData(), sim.linkPath().toLocal8Bit());
    h.window.Combo1->setCurrentIndex(model);
    h.window.Combo2->setCurrentIndex(comPort - 1);
    return true;
}

void SwitchRig::open(const ImageWords &image)
{
    const QString path = QDir(sim.folder()).filePath(QStringLiteral("opened.bin"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(BinFile::encode(image, model));
    file.close();
    h.files.openPaths.push_back(path);
    h.window.openConfiguration();
}

bool SwitchRig::settle()
{
    const int probes = logCount(QStringLiteral("probe"));
    QtSerialLine line(sim.linkPath());
    if (!line.open() || !line.send(QByteArrayLiteral("ns")))
        return false;
    return SimProcess::waitFor([&] { return logCount(QStringLiteral("probe")) > probes; });
}

int SwitchRig::logCount(const QString &kind) const
{
    int count = 0;
    for (const QString &line : sim.logLines())
        count += line.section(QLatin1Char(' '), 0, 0) == kind ? 1 : 0;
    return count;
}

bool SwitchRig::idleAfter(const QPushButton *button) const
{
    return h.window.isEnabled() && button->isEnabled() && h.window.ProgressBar1->isHidden();
}
