#include "ui/title_bar.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

int titleBarWidth(const QFont &font, const QString &title)
{
    QFont titleFont = font;
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(title) + 160;
}
