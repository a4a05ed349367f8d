#include "ui/wheel_guard.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace
{

class WheelGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Swallowed without the focus: the window has nothing else to scroll.
        return event->type() == QEvent::Wheel && !static_cast<QWidget *>(watched)->hasFocus();
    }
};

} // namespace

void takeWheelOnlyWithFocus(QWidget *list)
{
    list->setFocusPolicy(Qt::StrongFocus);
    list->installEventFilter(new WheelGuard(list));
}
