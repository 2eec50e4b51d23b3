#include "app/signal_graph.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace zarven {

namespace {

struct Band {
    double fromDbm; // half a step below the band's lowest level
    double toDbm;
    const char *name; // UTF-8, the band's caption
    QColor shade;
};

// Level n is 2n - 113 dBm; a band's edge lies between its levels and the
// neighbour's.
const Band kBands[] = {
    {-113, -94, "плохо", QColor(246, 214, 214)},
    {-94, -84, "удовлетворительно", QColor(250, 232, 204)},
    {-84, -74, "хорошо", QColor(246, 246, 204)},
    {-74, -51, "отлично", QColor(214, 240, 214)},
};

} // namespace

SignalGraph::SignalGraph(const SignalHistory &history, QWidget *parent) : QWidget(parent), history_(history)
{
    setObjectName(QStringLiteral("signalGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double SignalGraph::yFor(double dbm, const QRectF &plot)
{
    const double clamped = std::clamp(dbm, double(kLowestDbm), double(kHighestDbm));
    return plot.bottom() - (clamped - kLowestDbm) / (kHighestDbm - kLowestDbm) * plot.height();
}

void SignalGraph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QFontMetrics fm(font());
    const QRectF plot(fm.horizontalAdvance(QStringLiteral("-113")) + 10, fm.height() / 2 + 4,
                      width() - fm.horizontalAdvance(QStringLiteral("-113")) - 18, height() - 2 * fm.height() - 8);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    auto caption = [this](const char *russian) {
        const QString text = QString::fromUtf8(russian);
        return caption_ ? caption_(text) : text;
    };

    const QColor textColour = palette().color(QPalette::Text);
    for (const Band &b : kBands) {
        const QRectF area(plot.left(), yFor(b.toDbm, plot), plot.width(), yFor(b.fromDbm, plot) - yFor(b.toDbm, plot));
        p.fillRect(area, b.shade);
        p.setPen(QColor(120, 120, 120));
        p.drawText(area.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, caption(b.name));
    }

    // The dBm axis.
    p.setPen(QColor(190, 190, 190));
    for (int dbm = -110; dbm <= -60; dbm += 10)
        p.drawLine(QPointF(plot.left(), yFor(dbm, plot)), QPointF(plot.right(), yFor(dbm, plot)));
    p.setPen(textColour);
    for (int dbm : {-113, -100, -90, -80, -70, -60, -51}) {
        const QRectF box(0, yFor(dbm, plot) - fm.height() / 2.0, plot.left() - 4, fm.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(dbm));
    }

    // The time axis: the kept span up to now, a line a fifth of it apart.
    const qint64 now = now_ ? now_() : QDateTime::currentMSecsSinceEpoch();
    const qint64 span = std::max<qint64>(1, history_.spanMs());
    const qint64 from = now - span;
    auto xFor = [&](qint64 t) { return plot.left() + double(t - from) / double(span) * plot.width(); };
    for (int i = 0; i <= 5; ++i) {
        const qint64 t = from + span * i / 5;
        const double x = xFor(t);
        p.setPen(QColor(190, 190, 190));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(textColour);
        const QString label = QDateTime::fromMSecsSinceEpoch(t).toString(QStringLiteral("HH:mm:ss"));
        const double w = fm.horizontalAdvance(label);
        const double left = std::max(0.0, std::min(x - w / 2, width() - w));
        p.drawText(QPointF(left, plot.bottom() + fm.ascent() + 3), label);
    }
    p.setPen(QColor(150, 150, 150));
    p.drawRect(plot);

    // The readings.
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(plot.adjusted(-3, -3, 3, 3));
    QPainterPath line;
    bool open = false;
    QList<QPointF> points;
    QList<double> gaps;
    for (const SignalSample &s : history_.samples()) {
        if (s.atMs < from)
            continue;
        const double x = xFor(s.atMs);
        if (!s.hasLevel()) {
            open = false;
            gaps << x;
            continue;
        }
        const QPointF pt(x, yFor(s.dbm(), plot));
        if (open)
            line.lineTo(pt);
        else
            line.moveTo(pt);
        open = true;
        points << pt;
    }
    p.setPen(QPen(QColor(20, 70, 170), 2));
    p.drawPath(line);
    p.setBrush(QColor(20, 70, 170));
    p.setPen(Qt::NoPen);
    for (const QPointF &pt : points)
        p.drawEllipse(pt, 2.5, 2.5);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    for (double x : gaps) {
        p.drawLine(QPointF(x - 3, plot.top() + 2), QPointF(x + 3, plot.top() + 8));
        p.drawLine(QPointF(x + 3, plot.top() + 2), QPointF(x - 3, plot.top() + 8));
    }
}

} // namespace zarven
