#include "link/com_ports.h"

#include "link/qt_serial_line.h"

#include <QRegularExpression>

QString comPortDeviceName(int portNumber)
{
    const QString override =
        qEnvironmentVariable(qPrintable(QStringLiteral("SWCFG_COM%1").arg(portNumber)));
    if (!override.isEmpty())
        return override;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

QString serialDeviceForArgument(const QString &argument)
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-8])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(argument);
    if (match.hasMatch())
        return comPortDeviceName(match.captured(1).toInt());
    return argument;
}

SerialLineFactory comPortLineFactory()
{
    return [](int portNumber) -> std::unique_ptr<SerialLine> {
        return std::make_unique<QtSerialLine>(comPortDeviceName(portNumber));
    };
}
