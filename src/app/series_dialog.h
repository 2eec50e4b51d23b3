#pragma once
// "Серия приборов…": the window's side of a series of controllers. The
// installer picks the template, opens the table of sites (edited in place
// and saved back to its file), may name a key file, a report and the ports,
// and starts; the dialog shows each site's state in its own column, the
// current step in large type, and beeps when a unit is done and when one
// fails. The report file is the batch command's.

#include "provision/series_run.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace zarven {

class MainWindow;
class ToneOutput;

class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    SeriesDialog(MainWindow &window, ToneOutput *tone, QWidget *parent = nullptr);
    ~SeriesDialog() override;

    QLineEdit *templateEdit = nullptr; // Edit_series_template
    QLineEdit *sitesEdit = nullptr;    // Edit_series_sites
    QLineEdit *keysEdit = nullptr;     // Edit_series_keys
    QLineEdit *reportEdit = nullptr;   // Edit_series_report
    QLineEdit *portsEdit = nullptr;    // Edit_series_ports: blank-separated; empty: plugged adapters
    QTableWidget *sitesTable = nullptr; // Grid_series: the sites, then the state column
    QLabel *stepLabel = nullptr;        // Label_series_step, large type
    QPlainTextEdit *logView = nullptr;  // Memo_series
    QPushButton *startButton = nullptr; // Button_series_start
    QPushButton *stopButton = nullptr;  // Button_series_stop

    // Opens the table file into the grid; false after saying why.
    bool openTable(const QString &path);
    // Writes the grid back into its file; false after saying why.
    bool saveTable();
    // Checks the table and runs the series; returns its summary, or nothing
    // when the table was refused.
    std::optional<SeriesSummary> start();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString tr(const QString &russian) const;
    void note(const QString &text);
    void setState(int row, SiteState state, const QString &detail);
    SiteTable gridTable() const;

    MainWindow &w_;
    ToneOutput *tone_;
    SiteTable table_;      // the file's table as opened (separator, encoding)
    SeriesRun *run_ = nullptr;
};

} // namespace zarven
