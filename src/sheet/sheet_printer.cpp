#include "sheet/sheet_printer.h"

#include "core/errors.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace zarven {

namespace {

// A4 with 15 mm all round; the sheet's text at 9 points keeps it to one or
// two pages.
const QPageLayout kLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                          QPageLayout::Millimeter);
constexpr int kPointSize = 9;

// The document laid out for a device, on pages of the size (device pixels).
void layOut(QTextDocument &doc, const QString &html, QPaintDevice *device, QSizeF page)
{
    QFont font = doc.defaultFont();
    font.setPointSize(kPointSize);
    doc.setDefaultFont(font);
    doc.documentLayout()->setPaintDevice(device);
    doc.setHtml(html);
    doc.setPageSize(page);
}

} // namespace

bool QtPrintDialogs::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

int paintSheet(const QString &html, QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(device.pageLayout().pageSize(), QPageLayout::Portrait, kLayout.margins(),
                                     QPageLayout::Millimeter));
    QTextDocument doc;
    layOut(doc, html, &device, device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    doc.print(&device);
    return doc.pageCount();
}

int writeSheetPdf(const QString &html, const QString &path, const QString &title)
{
    const auto failed = [&path](const QString &reason) {
        return FileError(QStringLiteral("Не удалось записать файл %1: %2").arg(QDir::toNativeSeparators(path), reason));
    };
    {
        // The writer says nothing when it cannot open its file; the probe
        // does.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw failed(probe.errorString());
    }
    QPdfWriter writer(path);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("zarven4-config"));
    writer.setResolution(300);
    writer.setPageLayout(kLayout);
    const int pages = paintSheet(html, writer);
    if (QFileInfo(path).size() == 0)
        throw failed(QStringLiteral("PDF"));
    return pages;
}

QImage sheetFirstPage(const QString &html, int dpi)
{
    const QRect full = kLayout.fullRectPixels(dpi);
    QImage image(full.size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    const QRect paint = kLayout.paintRectPixels(dpi);
    QTextDocument doc;
    layOut(doc, html, &image, paint.size());
    QPainter painter(&image);
    painter.translate(paint.topLeft());
    doc.drawContents(&painter, QRectF(QPointF(0, 0), QSizeF(paint.size())));
    return image;
}

} // namespace zarven
