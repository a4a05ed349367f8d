#include "ui/file_chooser.h"

#include <QFileDialog>

QString DialogFileChooser::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qtParts;
    // Pairs of description and pattern; the description already names the pattern.
    for (int i = 0; i < parts.size(); i += 2)
        qtParts << parts[i];
    return qtParts.join(QStringLiteral(";;"));
}

QString DialogFileChooser::chooseOpenPath(const QString &filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(parent_, QString(), folder, toQtFilter(filter));
}

QString DialogFileChooser::chooseSavePath(const QString &filter, const QString &folder)
{
    QFileDialog dialog(parent_, QString(), folder, toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("bin"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
