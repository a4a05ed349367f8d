#pragma once

class QWidget;

// From now on `list` (a model or port list) takes the mouse wheel only while it has the keyboard
// focus, and the wheel no longer gives it the focus: a wheel turned over the window on its way
// elsewhere must not change a choice.
void takeWheelOnlyWithFocus(QWidget *list);
