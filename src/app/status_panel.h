#pragma once
// A panel of the status bar: as wide as its text needs (at least its
// designed width) while the bar has room; where the bar is too narrow it
// gives way, shows the text cut with "…", and its tooltip shows the whole
// text. Its text() is always the whole text.

#include <QLabel>

namespace zarven {

class StatusPanel : public QLabel {
public:
    // designedWidth: the width the panel keeps even with a short text.
    explicit StatusPanel(int designedWidth, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Whether the text is shown cut.
    bool elided() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    int textWidth() const;
    int designedWidth_;
};

} // namespace zarven
