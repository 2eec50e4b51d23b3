#include "app/fit_captions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QPair>

namespace zarven {

namespace {

constexpr int kSmallestPixelSize = 8;

bool isCaption(QWidget *w)
{
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->pixmap().isNull() && !label->wordWrap() && !label->text().isEmpty();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return !button->text().isEmpty();
    // A list shows one entry at a time; its size hint is that of the
    // longest, so every entry can be read once chosen.
    if (auto *list = qobject_cast<QComboBox *>(w))
        return !list->isEditable() && list->count() > 0;
    return false;
}

QList<QWidget *> visibleSiblings(QWidget *w)
{
    QList<QWidget *> out;
    for (QObject *o : w->parentWidget()->children())
        if (auto *sibling = qobject_cast<QWidget *>(o); sibling && sibling != w && !sibling->isHidden())
            out << sibling;
    return out;
}

// The free span beside the widget on its row: from the right edge of the
// nearest visible sibling on its left (or the parent's inner edge) to the
// left edge of the nearest one on its right (or the parent's inner edge).
QPair<int, int> freeSpan(QWidget *w)
{
    QWidget *parent = w->parentWidget();
    int left = parent->contentsRect().left();
    int right = parent->contentsRect().right() + 1;
    const QRect g = w->geometry();
    for (QWidget *sibling : visibleSiblings(w)) {
        const QRect s = sibling->geometry();
        if (s.top() >= g.bottom() || s.bottom() <= g.top())
            continue;
        if (s.left() >= g.right()) {
            right = qMin(right, s.left() - 1);
        } else if (s.right() <= g.left()) {
            left = qMax(left, s.right() + 2);
        }
    }
    return {left, right};
}

// The free span above and below the widget in its column, [top, bottom):
// up to the nearest visible sibling above and below it that shares some of
// its width, or the parent's inner edge. Siblings may touch.
QPair<int, int> freeColumn(QWidget *w)
{
    QWidget *parent = w->parentWidget();
    int top = parent->contentsRect().top();
    int bottom = parent->contentsRect().bottom() + 1;
    const QRect g = w->geometry();
    const int middle = g.top() + g.height() / 2;
    for (QWidget *sibling : visibleSiblings(w)) {
        const QRect s = sibling->geometry();
        if (s.left() > g.right() || s.right() < g.left())
            continue;
        if (s.top() >= middle)
            bottom = qMin(bottom, s.top());
        else if (s.bottom() < middle)
            top = qMax(top, s.bottom() + 1);
    }
    return {top, bottom};
}

// Grows w to `needed` pixels of height within its free column: downwards
// first, upwards for what the room below lacks.
void growTaller(QWidget *w, int needed)
{
    const auto [top, bottom] = freeColumn(w);
    // Never lower than it stands: a widget that already reaches into its
    // neighbour's room keeps its place.
    const int y = qMin(w->y(), qMax(top, qMin(w->y(), bottom - needed)));
    w->setGeometry(w->x(), y, w->width(), qMax(w->height(), qMin(needed, bottom - y)));
}

// The height the caption's text needs.
int neededHeight(QWidget *w)
{
    return w->fontMetrics().height();
}

bool tooSmall(QWidget *w)
{
    return w->sizeHint().width() > w->width() || neededHeight(w) > w->height();
}

void fit(QWidget *w)
{
    if (!tooSmall(w))
        return;
    QWidget *parent = w->parentWidget();
    QLayout *layout = parent->layout();
    if (!layout) {
        // Grow to the right first; take a few pixels on the left only when
        // the right has too few.
        const int needed = w->sizeHint().width();
        if (needed > w->width()) {
            const auto [left, right] = freeSpan(w);
            const int x = qMax(left, qMin(w->x(), right - needed));
            w->setGeometry(x, w->y(), qMin(needed, right - x), w->height());
        }
        if (neededHeight(w) > w->height())
            growTaller(w, neededHeight(w));
    } else if (neededHeight(w) > w->height() && parent->parentWidget() && !parent->parentWidget()->layout()) {
        // An item of a laid-out box (a radio group's entry): the box grows
        // by what the item lacks, and its layout shares the room out again.
        growTaller(parent, parent->height() + neededHeight(w) - w->height());
        layout->activate();
    }
    QFont font = w->font();
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontInfo(font).pixelSize());
    while (tooSmall(w) && font.pixelSize() > kSmallestPixelSize) {
        font.setPixelSize(font.pixelSize() - 1);
        w->setFont(font);
        if (layout)
            layout->activate();
    }
}

} // namespace

void fitCaptions(QWidget *root)
{
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->parentWidget() && isCaption(w))
            fit(w);
}

} // namespace zarven
