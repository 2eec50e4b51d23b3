#pragma once
// The window's side of a series of controllers, shared by the batch command
// and the window's dialog.

#include "provision/series_run.h"
#include "provision/site_values.h"

namespace zarven {

class DeviceWatch;
class MainWindow;

// The window's exchanges, files and journal for a series; the write's own
// preview and check are given back when the series ends.
SeriesParts seriesParts(MainWindow &form, DeviceWatch *watch);

// Every row of the table on the template, through the write's own checks;
// a template that does not load is a problem of line 0.
QList<TableProblem> seriesWriteRefusals(MainWindow &form, const SeriesOptions &options);

} // namespace zarven
