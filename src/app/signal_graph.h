#pragma once
// The monitor's graph: the readings of the kept span against the dBm axis
// from -113 to -51, the four bands shaded behind them. A reading without a
// level breaks the line and is marked at the top edge: a gap, never a 0.

#include "exchange/signal_history.h"

#include <QWidget>
#include <functional>

namespace zarven {

class SignalGraph : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLowestDbm = -113;
    static constexpr int kHighestDbm = -51;

    SignalGraph(const SignalHistory &history, QWidget *parent = nullptr);

    void setCaption(CaptionFunction caption) { caption_ = std::move(caption); }
    // The moment at the right edge; the wall clock unless set.
    void setClock(std::function<qint64()> now) { now_ = std::move(now); }

    QSize sizeHint() const override { return {560, 220}; }
    QSize minimumSizeHint() const override { return {280, 140}; }

    // The plot's y for a level in dBm, clamped to the axis.
    static double yFor(double dbm, const QRectF &plot);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const SignalHistory &history_;
    CaptionFunction caption_;
    std::function<qint64()> now_;
};

} // namespace zarven
