#include "app/status_panel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace zarven {

namespace {

// The room left and right of the text inside the frame.
constexpr int kPadding = 3;

} // namespace

StatusPanel::StatusPanel(int designedWidth, QWidget *parent) : QLabel(parent), designedWidth_(designedWidth)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

int StatusPanel::textWidth() const
{
    return fontMetrics().horizontalAdvance(text()) + 2 * (frameWidth() + kPadding) + 1;
}

QSize StatusPanel::sizeHint() const
{
    return {qMax(designedWidth_, textWidth()), QLabel::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const
{
    // Short enough that a long text never widens the window.
    return {qMin(designedWidth_ > 0 ? designedWidth_ : 40, 40), QLabel::minimumSizeHint().height()};
}

bool StatusPanel::elided() const
{
    return textWidth() > width();
}

void StatusPanel::paintEvent(QPaintEvent *event)
{
    if (!elided()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect room = contentsRect().adjusted(kPadding, 0, -kPadding, 0);
    const Qt::Alignment vertical = alignment() & Qt::AlignVertical_Mask;
    painter.drawText(room, int(Qt::AlignLeft | (vertical ? vertical : Qt::AlignVCenter)),
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

bool StatusPanel::event(QEvent *event)
{
    // The whole text as tooltip, unless the panel has a tooltip of its own.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && !text().isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(event);
}

} // namespace zarven
