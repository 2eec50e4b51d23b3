#pragma once
// Puts the configuration sheet on paper, into a PDF file or into a picture.
// The print dialog stands behind a seam, so that tests choose a printer (a
// PDF file) without a dialog.

#include <QImage>
#include <QString>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace zarven {

class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    // Lets the user choose the printer and its settings; false: cancelled.
    virtual bool choosePrinter(QPrinter &printer) = 0;
};

// The platform's print dialog.
class QtPrintDialogs : public PrintDialogs {
public:
    explicit QtPrintDialogs(QWidget *parent) : parent_(parent) {}
    bool choosePrinter(QPrinter &printer) override;

private:
    QWidget *parent_;
};

// Lays the sheet's HTML out on the device's pages (a printer, a PDF writer)
// and paints them; returns how many pages it took.
int paintSheet(const QString &html, QPagedPaintDevice &device);

// Writes the sheet as a PDF file on A4, titled; returns the pages. Throws
// FileError when the file cannot be written.
int writeSheetPdf(const QString &html, const QString &path, const QString &title);

// The sheet's first page on A4 with its margins, white, at dpi.
QImage sheetFirstPage(const QString &html, int dpi);

} // namespace zarven
