#pragma once

class QFont;
class QString;

// The width a window needs so that a title bar shows `title` whole: the title in the bold
// version of `font`, with room for an icon and the title bar's buttons.
int titleBarWidth(const QFont &font, const QString &title);
