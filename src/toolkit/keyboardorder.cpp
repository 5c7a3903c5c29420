#include "keyboardorder.h"

#include <QWidget>

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

QRect boxIn(QWidget *window, QWidget *w)
{
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

bool reachable(QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(w->window());
}

// With `now`, only those Tab reaches at this moment; without, also those hidden or
// disabled for now (Tab skips them until they are shown).
QList<QWidget *> tabControls(QWidget *window, bool now)
{
    QList<QWidget *> found;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (now ? reachable(w) : bool(w->focusPolicy() & Qt::TabFocus))
            found << w;
    }
    return found;
}

} // namespace

QList<QWidget *> readingOrder(QWidget *window)
{
    QList<QWidget *> controls = tabControls(window, false);
    std::stable_sort(controls.begin(), controls.end(),
                     [window](QWidget *a, QWidget *b) { return boxIn(window, a).top() < boxIn(window, b).top(); });
    QList<QWidget *> ordered;
    qsizetype rowStart = 0;
    const auto closeRow = [&](qsizetype end) {
        QList<QWidget *> row = controls.mid(rowStart, end - rowStart);
        std::stable_sort(row.begin(), row.end(), [window](QWidget *a, QWidget *b) {
            return boxIn(window, a).left() < boxIn(window, b).left();
        });
        ordered << row;
        rowStart = end;
    };
    for (qsizetype i = 1; i < controls.size(); ++i) {
        const QRect first = boxIn(window, controls[rowStart]);
        if (boxIn(window, controls[i]).center().y() > first.bottom())
            closeRow(i);
    }
    if (rowStart < controls.size())
        closeRow(controls.size());
    return ordered;
}

void chainTabOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget *neighbourTowards(QWidget *window, QWidget *from, int arrowKey)
{
    const QRect origin = boxIn(window, from);
    const bool vertical = arrowKey == Qt::Key_Up || arrowKey == Qt::Key_Down;
    const bool forward = arrowKey == Qt::Key_Down || arrowKey == Qt::Key_Right;
    QWidget *best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (QWidget *w : tabControls(window, true)) {
        if (w == from)
            continue;
        const QRect r = boxIn(window, w);
        const bool shares = vertical ? r.left() <= origin.right() && origin.left() <= r.right()
                                     : r.top() <= origin.bottom() && origin.top() <= r.bottom();
        const int distance = vertical ? r.center().y() - origin.center().y() : r.center().x() - origin.center().x();
        if (!shares || distance == 0 || (distance > 0) != forward)
            continue;
        if (std::abs(distance) < bestDistance) {
            bestDistance = std::abs(distance);
            best = w;
        }
    }
    return best;
}

} // namespace velmora
