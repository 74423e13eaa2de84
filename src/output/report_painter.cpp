#include "output/report_painter.h"

#include "output/report_error.h"
#include "output/report_layout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace kelvarn {
namespace {

// Layouts are measured at screen resolution and the painter scales them to the
// device, as Qt's own printing does: pixel sizes in a layout (padding, borders,
// image widths) then mean the same on screen, paper and PDF.
constexpr int kLayoutDpi = 96;

QImage layoutMetrics() {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// The area a page of the report holds, in layout pixels, before the page numbers.
QSizeF pageArea(const ReportPageSetup& page) {
    const QPageLayout layout(QPageSize(page.pageSize), page.orientation, page.marginsMm,
                             QPageLayout::Millimeter);
    const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
    return {mm.width() / 25.4 * kLayoutDpi, mm.height() / 25.4 * kLayoutDpi};
}

QFont footerFont(const ReportPageSetup& page) {
    QFont font(page.fontFamily);
    font.setPixelSize(qMax(1, qRound(page.fontSizePt * kLayoutDpi / 72.0)));
    return font;
}

} // namespace

void ReportPainter::applyPageSetup(QPagedPaintDevice& device) const {
    const ReportPageSetup& page = report_.page;
    device.setPageLayout(
        QPageLayout(QPageSize(page.pageSize), page.orientation, page.marginsMm, QPageLayout::Millimeter));
}

int ReportPainter::paint(QPagedPaintDevice& device, const PageStarted& pageStarted) const {
    QImage metrics = layoutMetrics();
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(
            QStringLiteral("Tiskovou sestavu „%1“ nelze vytisknout: výstup se nepodařilo otevřít.")
                .arg(report_.name));
    const qreal scaleX = qreal(device.logicalDpiX()) / kLayoutDpi;
    const qreal scaleY = qreal(device.logicalDpiY()) / kLayoutDpi;
    const QSizeF area(device.width() / scaleX, device.height() / scaleY);

    const QFont footer = footerFont(report_.page);
    const qreal footerHeight = report_.page.pageNumbers ? QFontMetricsF(footer, &metrics).height() * 2 : 0;
    const qreal pageHeight = area.height() - footerHeight;
    const ReportLayout layout(report_, QSizeF(area.width(), pageHeight), &metrics);

    const int pages = layout.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            throw ReportError(QStringLiteral("Tiskovou sestavu „%1“ nelze vytisknout: stranu %2 nelze začít.")
                                  .arg(report_.name)
                                  .arg(page + 1));
        if (pageStarted)
            pageStarted(page + 1);
        painter.save();
        painter.scale(scaleX, scaleY);
        layout.paintPage(painter, page);
        if (report_.page.pageNumbers) {
            painter.setClipping(false);
            painter.setFont(footer);
            painter.setPen(Qt::black);
            painter.drawText(QRectF(0, pageHeight, area.width(), footerHeight),
                             Qt::AlignRight | Qt::AlignBottom,
                             QStringLiteral("Strana %1 z %2").arg(page + 1).arg(pages));
        }
        painter.restore();
    }
    painter.end();
    return pages;
}

void ReportPainter::writePdf(const QString& path, const PageStarted& pageStarted) const {
    // Written aside and renamed, so a failed export never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setTitle(report_.name);
        writer.setCreator(QStringLiteral("Kelvarn"));
        applyPageSetup(writer);
        paint(writer, pageStarted);
    }
    if (!file.commit())
        throw ReportError(QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(path, file.errorString()));
}

QString ReportPainter::plainText() const {
    QImage metrics = layoutMetrics();
    return ReportLayout(report_, pageArea(report_.page), &metrics).plainText();
}

int ReportPainter::pageCount() const {
    QImage metrics = layoutMetrics();
    QSizeF area = pageArea(report_.page);
    if (report_.page.pageNumbers)
        area.setHeight(area.height() - QFontMetricsF(footerFont(report_.page), &metrics).height() * 2);
    return ReportLayout(report_, area, &metrics).pageCount();
}

} // namespace kelvarn
