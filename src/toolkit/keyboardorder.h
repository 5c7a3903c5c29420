#pragma once

#include <QList>

class QWidget;

namespace velmora {

// How the keyboard travels over a window's controls.

// The controls inside `window` that take Tab (shown or not: Tab passes over hidden and
// disabled ones), in reading order: rows from the top (a control whose middle lies within the first control of
// the current row joins that row), each row from the left.
QList<QWidget *> readingOrder(QWidget *window);

// Chains Tab through `order` in turn (Shift+Tab goes back the same way).
void chainTabOrder(const QList<QWidget *> &order);

// The control an arrow key leads to from `from`: the nearest one above or below that
// shares part of its column (Up, Down), or beside it that shares part of its row
// (Left, Right). Null when there is none that way.
QWidget *neighbourTowards(QWidget *window, QWidget *from, int arrowKey);

} // namespace velmora
