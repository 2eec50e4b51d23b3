// Wires the series of controllers into the window: "Серия приборов…" of the
// "Файл" menu opens its dialog (made when first opened), which beeps through
// the window's audio output.

#include "app/main_window.h"
#include "app/series_dialog.h"
#include "sound/tone.h"

#include <QAction>
#include <QMenu>

namespace zarven {

void MainWindow::wireSeries()
{
    seriesAction = new QAction(QStringLiteral("Серия приборов…"), menuFile);
    seriesAction->setObjectName(QStringLiteral("menu_series"));
    // A group of its own above "Выход".
    menuFile->insertAction(exitAction, seriesAction);
    menuFile->insertSeparator(exitAction);
    connect(seriesAction, &QAction::triggered, this, [this] {
        if (!seriesDialog) {
            auto *tone = new AudioTone(this);
            seriesDialog = new SeriesDialog(*this, tone, this);
        }
        seriesDialog->show();
        seriesDialog->raise();
    });
}

} // namespace zarven
