#include "output/report_painter.h"

#include "output/report_error.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include <memory>

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

QFont reportFont(const ReportPageSetup& page) {
    QFont font(page.fontFamily);
    font.setPointSizeF(page.fontSizePt);
    return font;
}

std::unique_ptr<QTextDocument> layOut(const RenderedReport& report, QPaintDevice* metrics) {
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(metrics);
    document->setDefaultFont(reportFont(report.page));
    // The page margins are the report's; the document's own would add to them.
    document->setDocumentMargin(0);
    document->setHtml(report.html);
    return document;
}

} // namespace

void ReportPainter::applyPageSetup(QPagedPaintDevice& device) const {
    const ReportPageSetup& page = report_.page;
    device.setPageLayout(
        QPageLayout(QPageSize(page.pageSize), page.orientation, page.marginsMm, QPageLayout::Millimeter));
}

int ReportPainter::paint(QPagedPaintDevice& device, const PageStarted& pageStarted) const {
    QImage metrics = layoutMetrics();
    const std::unique_ptr<QTextDocument> document = layOut(report_, &metrics);

    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(
            QStringLiteral("Tiskovou sestavu „%1“ nelze vytisknout: výstup se nepodařilo otevřít.")
                .arg(report_.name));
    const qreal scaleX = qreal(device.logicalDpiX()) / kLayoutDpi;
    const qreal scaleY = qreal(device.logicalDpiY()) / kLayoutDpi;
    const QSizeF area(device.width() / scaleX, device.height() / scaleY);

    QFont footerFont = reportFont(report_.page);
    footerFont.setPixelSize(qMax(1, qRound(report_.page.fontSizePt * kLayoutDpi / 72.0)));
    const qreal footer = report_.page.pageNumbers ? QFontMetricsF(footerFont, &metrics).height() * 2 : 0;
    const qreal pageHeight = area.height() - footer;
    document->setPageSize(QSizeF(area.width(), pageHeight));

    QAbstractTextDocumentLayout::PaintContext context;
    // Paper is white whatever the desktop theme says.
    context.palette.setColor(QPalette::Text, Qt::black);

    const int pages = document->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            throw ReportError(QStringLiteral("Tiskovou sestavu „%1“ nelze vytisknout: stranu %2 nelze začít.")
                                  .arg(report_.name)
                                  .arg(page + 1));
        if (pageStarted)
            pageStarted(page + 1);
        painter.save();
        painter.scale(scaleX, scaleY);
        const QRectF view(0, page * pageHeight, area.width(), pageHeight);
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        context.clip = view;
        document->documentLayout()->draw(&painter, context);
        painter.restore();

        if (report_.page.pageNumbers) {
            painter.save();
            painter.scale(scaleX, scaleY);
            painter.setFont(footerFont);
            painter.setPen(Qt::black);
            painter.drawText(QRectF(0, pageHeight, area.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                             QStringLiteral("Strana %1 z %2").arg(page + 1).arg(pages));
            painter.restore();
        }
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
    return layOut(report_, &metrics)->toPlainText();
}

} // namespace kelvarn
