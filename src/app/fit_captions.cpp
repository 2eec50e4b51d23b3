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

// The free span beside the widget on its row: from the right edge of the
// nearest visible sibling on its left (or the parent's inner edge) to the
// left edge of the nearest one on its right (or the parent's inner edge).
QPair<int, int> freeSpan(QWidget *w)
{
    QWidget *parent = w->parentWidget();
    int left = parent->contentsRect().left();
    int right = parent->contentsRect().right() + 1;
    const QRect g = w->geometry();
    for (QObject *o : parent->children()) {
        auto *sibling = qobject_cast<QWidget *>(o);
        if (!sibling || sibling == w || sibling->isHidden())
            continue;
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

void fit(QWidget *w)
{
    const int needed = w->sizeHint().width();
    if (needed <= w->width())
        return;
    QLayout *layout = w->parentWidget()->layout();
    if (!layout) {
        // Grow to the right first; take a few pixels on the left only when
        // the right has too few.
        const auto [left, right] = freeSpan(w);
        const int x = qMax(left, qMin(w->x(), right - needed));
        w->setGeometry(x, w->y(), qMin(needed, right - x), w->height());
    }
    QFont font = w->font();
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontInfo(font).pixelSize());
    while (w->sizeHint().width() > w->width() && font.pixelSize() > kSmallestPixelSize) {
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
