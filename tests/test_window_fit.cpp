// The window on a small screen and at large scale factors: it opens within
// the screen's available area, every control of the client area can be
// scrolled to, the status bar stays clear of it, and no caption is clipped,
// in Russian and in English. CTest runs it offscreen and, where xvfb-run is
// found, under X11 at 1366x768 with QT_SCALE_FACTOR 1.25 and 1.5. With
// ZARVEN_SCREENSHOT_DIR set it leaves screenshots of both languages there.

#include "app/main_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractSpinBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;

namespace {

// The captions whose text needs more room than their widget has.
QStringList clippedCaptions(QWidget *root)
{
    QStringList out;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root))
            continue;
        QString text;
        if (auto *label = qobject_cast<QLabel *>(w); label && label->pixmap().isNull() && !label->wordWrap())
            text = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            text = button->text();
        else if (auto *list = qobject_cast<QComboBox *>(w); list && !list->isEditable() && list->count() > 0)
            text = list->itemText(0); // the size hint covers every entry
        if (text.isEmpty())
            continue;
        const QSize need = w->sizeHint();
        if (need.width() > w->width() || w->fontMetrics().height() > w->height())
            out << QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                       .arg(w->objectName(), text)
                       .arg(need.width())
                       .arg(need.height())
                       .arg(w->width())
                       .arg(w->height());
    }
    return out;
}

// The controls inside the client area's panels that reach past their
// panel's inner edge (the panel's frame or the area beyond would cover
// them). The panels themselves keep their designed places.
QStringList controlsOutsideTheirPanel(QWidget *clientArea)
{
    QStringList out;
    for (QWidget *w : clientArea->findChildren<QWidget *>()) {
        QWidget *parent = w->parentWidget();
        if (parent == clientArea || !w->isVisibleTo(clientArea) || w->objectName().startsWith(QLatin1String("qt_")) ||
            qobject_cast<QAbstractSpinBox *>(parent) || qobject_cast<QComboBox *>(parent))
            continue;
        if (!parent->contentsRect().contains(w->geometry()))
            out << QStringLiteral("%1 at %2,%3 %4x%5 in %6 (%7x%8)")
                       .arg(w->objectName())
                       .arg(w->x())
                       .arg(w->y())
                       .arg(w->width())
                       .arg(w->height())
                       .arg(parent->objectName())
                       .arg(parent->width())
                       .arg(parent->height());
    }
    return out;
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
private:
    void checkFits(MainWindow &w, const QString &language)
    {
        const QRect available = w.screen()->availableGeometry();
        const QSize frame = w.frameGeometry().size();
        QVERIFY2(frame.width() <= available.width() && frame.height() <= available.height(),
                 qPrintable(QStringLiteral("window %1x%2, screen %3x%4")
                                .arg(frame.width())
                                .arg(frame.height())
                                .arg(available.width())
                                .arg(available.height())));
        // Scrolled to the end, the client area's bottom right corner is in
        // view, above the status bar.
        QScrollArea *area = w.scrollArea;
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        const QPoint corner = w.clientArea->mapTo(&w, QPoint(w.clientArea->width() - 1, w.clientArea->height() - 1));
        const QRect visible(area->viewport()->mapTo(&w, QPoint(0, 0)), area->viewport()->size());
        QVERIFY2(visible.contains(corner), qPrintable(language));
        QVERIFY(visible.bottom() < w.statusBar()->mapTo(&w, QPoint(0, 0)).y());

        const QStringList outside = controlsOutsideTheirPanel(w.clientArea);
        QVERIFY2(outside.isEmpty(), qPrintable(language + QStringLiteral(": ") + outside.join(QStringLiteral("; "))));
        const QStringList clipped = clippedCaptions(&w);
        QVERIFY2(clipped.isEmpty(), qPrintable(language + QStringLiteral(": ") + clipped.join(QStringLiteral("; "))));

        const QString shots = qEnvironmentVariable("ZARVEN_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            area->verticalScrollBar()->setValue(0);
            area->horizontalScrollBar()->setValue(0);
            QTest::qWait(200);
            const QString name = QStringLiteral("%1/window-%2-%3.png")
                                     .arg(shots, language, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")));
            QVERIFY(w.screen()->grabWindow(0).save(name));
        }
    }

private slots:
    void theWindowFitsTheScreenScrollsAndClipsNoCaption()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        AppOptions o;
        o.workDir = dir.path();
        o.includeSystemPorts = false;
        MainWindow w(o, boxes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        checkFits(w, QStringLiteral("ru"));
        w.englishAction->trigger();
        checkFits(w, QStringLiteral("en"));
    }
};

QTEST_MAIN(WindowFitTest)
#include "test_window_fit.moc"
