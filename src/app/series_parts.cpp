#include "app/series_parts.h"

#include "app/main_window.h"
#include "config_file/config_files.h"
#include "exchange/device_exchange.h"
#include "journal/journalled_write.h"
#include "settings/control_access.h"

#include <QAction>

namespace zarven {

SeriesParts seriesParts(MainWindow &form, DeviceWatch *watch)
{
    SeriesParts p;
    p.core = &form.exchange->core;
    p.scan = &form.exchange->scan;
    p.files = form.configFiles.get();
    p.write = form.journalledWrite;
    p.compare = form.settingsCompare;
    p.journal = form.journal;
    p.keys = form.keys;
    p.shared = &form.shared;
    p.controls = &form.configFiles->controls();
    p.intervals = &form.options.intervals;
    p.watch = watch;
    p.deviceSettleMs = form.options.deviceSettleMs;
    p.translate = [&form](const QString &text) { return form.inLanguage(text); };
    p.journalSite = [&form](const QString &site) { form.seriesSite = site; };
    // Every unit is read back after its write: the write's check follows
    // the menu's "Проверять после записи", ticked for the series and given
    // back after it.
    const bool verifying = form.verifyAfterWriteAction->isChecked();
    form.verifyAfterWriteAction->setChecked(true);
    p.afterRun = [&form, verifying] {
        form.verifyAfterWriteAction->setChecked(verifying);
        form.useWindowWriteChecks();
    };
    return p;
}

QList<TableProblem> seriesWriteRefusals(MainWindow &form, const SeriesOptions &o)
{
    QList<TableProblem> problems;
    ControlAccess &controls = form.configFiles->controls();
    const TextTranslator tr = [&form](const QString &text) { return form.inLanguage(text); };
    for (int row = 0; row < o.table.rows.size(); ++row) {
        controls.setChecked(QStringLiteral("CheckBox4"), false);
        if (!form.configFiles->loadFrom(o.templatePath)) {
            problems << TableProblem{0, {}, QStringLiteral("шаблон %1 не загружен"), {o.templatePath}, false};
            return problems;
        }
        applySiteRow(controls, o.table, row);
        problems << writeRefusals(controls, form.shared, o.table.lines.at(row), tr);
    }
    return problems;
}

} // namespace zarven
