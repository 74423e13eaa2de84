#include "ui/report_preview_window.h"

#include "core/prompts.h"
#include "core/unattended.h"
#include "output/report_error.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvarn {

using namespace report_window;

QString report_window::pageText(const QString& pattern, int page) {
    QString text = pattern;
    return text.replace(QLatin1String("%p"), QString::number(page));
}

namespace {

// The engine's status window while pages go to a printer or a file.
class StatusWindow {
  public:
    explicit StatusWindow(QWidget* parent) : dialog_(parent) {
        dialog_.setWindowTitle(kStatusTitle);
        dialog_.setCancelButton(nullptr);
        dialog_.setRange(0, 0);
        dialog_.setMinimumDuration(0);
        dialog_.setWindowModality(Qt::WindowModal);
    }

    void page(const QString& text) {
        dialog_.setLabelText(text);
        if (!dialog_.isVisible())
            dialog_.show();
        // Only paint; a click now must not start a second print.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

  private:
    QProgressDialog dialog_;
};

} // namespace

ReportPreviewWindow::ReportPreviewWindow(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      prompts_(prompts) {
    setWindowTitle(kPreviewTitle);
    resize(kPreviewWidth, kPreviewHeight);
    printer_.setDocName(kJobTitle);

    toolBar_ = new QToolBar(this);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    preview_ = new QPrintPreviewWidget(&printer_, this);
    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);

    QAction* print = addTool(kPrint, QKeySequence::Print, "document-print");
    QAction* pdf = addTool(kSavePdf, QKeySequence::Save, "document-save-as");
    toolBar_->addSeparator();
    QAction* zoomIn = addTool(kZoomIn, QKeySequence::ZoomIn, "zoom-in");
    QAction* zoomOut = addTool(kZoomOut, QKeySequence::ZoomOut, "zoom-out");
    zoomLabel_ = new QLabel(toolBar_);
    zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance(QStringLiteral("0000 %")));
    zoomLabel_->setAlignment(Qt::AlignCenter);
    toolBar_->addWidget(zoomLabel_);
    toolBar_->addSeparator();
    QAction* previous = addTool(kPreviousPage, QKeySequence(), "go-previous");
    QAction* next = addTool(kNextPage, QKeySequence(), "go-next");
    toolBar_->addSeparator();
    QAction* close = addTool(kClose, QKeySequence(), "window-close");

    // Keyboards without a separate plus key send Ctrl+= for zooming in.
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});

    pageLabel_ = new QLabel(statusBar_);
    statusBar_->addPermanentWidget(pageLabel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(preview_, 1);
    layout->addWidget(statusBar_);

    connect(print, &QAction::triggered, this, &ReportPreviewWindow::print);
    connect(pdf, &QAction::triggered, this, &ReportPreviewWindow::saveAsPdf);
    connect(zoomIn, &QAction::triggered, this, &ReportPreviewWindow::zoomIn);
    connect(zoomOut, &QAction::triggered, this, &ReportPreviewWindow::zoomOut);
    connect(previous, &QAction::triggered, this, &ReportPreviewWindow::previousPage);
    connect(next, &QAction::triggered, this, &ReportPreviewWindow::nextPage);
    connect(close, &QAction::triggered, this, &QDialog::accept);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &ReportPreviewWindow::generate);
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, &ReportPreviewWindow::updateLabels);

    setZoomPercent(kInitialZoom);
}

ReportPreviewWindow::~ReportPreviewWindow() = default;

QAction* ReportPreviewWindow::addTool(const QString& text, const QKeySequence& key, const char* themeIcon) {
    QAction* action = toolBar_->addAction(QIcon::fromTheme(QString::fromLatin1(themeIcon)), text);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
    }
    // The button shows the text without its trailing "..."; it is called what it shows.
    QWidget* button = toolBar_->widgetForAction(action);
    if (auto* toolButton = qobject_cast<QToolButton*>(button))
        button->setAccessibleName(toolButton->text());
    // Shortcuts act while the focus is anywhere in the window.
    addAction(action);
    return action;
}

void ReportPreviewWindow::present(const RenderedReport& report) {
    if (unattendedMode()) {
        setReport(report);
        return;
    }
    // A long list takes seconds to lay out: the window is up first, so its status line
    // shows the pages as they are generated.
    setWindowModality(Qt::ApplicationModal);
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    setReport(report);
    if (isVisible()) // not closed meanwhile
        exec();
}

void ReportPreviewWindow::setReport(const RenderedReport& report) {
    painter_.emplace(report);
    painter_->applyPageSetup(printer_);
    printer_.setDocName(kJobTitle);
    // Regenerates synchronously through paintRequested.
    preview_->updatePreview();
    preview_->setCurrentPage(1);
    updateLabels();
}

void ReportPreviewWindow::generate(QPrinter* printer) {
    if (!painter_)
        return;
    try {
        painter_->paint(*printer, [this](int page) { showStatus(pageText(kGeneratingPage, page)); });
        statusBar_->clearMessage();
    } catch (const ReportError& e) {
        statusBar_->clearMessage();
        prompts_.message(kErrorCaption, e.text(), MessageStyle::Error);
    }
}

void ReportPreviewWindow::setZoomPercent(int percent) {
    zoom_ = std::clamp(percent, kMinZoom, kMaxZoom);
    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview_->setZoomFactor(zoom_ / 100.0);
    updateLabels();
}

int ReportPreviewWindow::pageCount() const {
    return preview_->pageCount();
}

int ReportPreviewWindow::currentPage() const {
    return preview_->currentPage();
}

void ReportPreviewWindow::previousPage() {
    preview_->setCurrentPage(std::max(1, preview_->currentPage() - 1));
    updateLabels();
}

void ReportPreviewWindow::nextPage() {
    preview_->setCurrentPage(std::min(pageCount(), preview_->currentPage() + 1));
    updateLabels();
}

void ReportPreviewWindow::print() {
    QPrintDialog setup(&printer_, this);
    setup.setWindowTitle(kSetupTitle);
    if (setup.exec() != QDialog::Accepted)
        return;
    try {
        printTo(printer_);
    } catch (const ReportError& e) {
        prompts_.message(kErrorCaption, e.text(), MessageStyle::Error);
    }
    // The setup may have changed the paper; the preview follows it.
    preview_->updatePreview();
}

void ReportPreviewWindow::printTo(QPrinter& printer) {
    if (!painter_)
        return;
    printer.setDocName(kJobTitle);
    StatusWindow status(this);
    painter_->paint(printer, [&](int page) {
        const QString text = pageText(kPrintingPage, page);
        showStatus(text);
        status.page(text);
    });
    statusBar_->clearMessage();
}

void ReportPreviewWindow::saveAsPdf() {
    if (!painter_)
        return;
    const QString path = prompts_.saveFileName(
        kSavePdf, QDir::home().filePath(painter_->report().name + QStringLiteral(".pdf")),
        {QStringLiteral("PDF (*.pdf)")}, QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    try {
        writePdf(path);
    } catch (const ReportError& e) {
        prompts_.message(kErrorCaption, e.text(), MessageStyle::Error);
    }
}

void ReportPreviewWindow::writePdf(const QString& path) {
    if (!painter_)
        return;
    StatusWindow status(this);
    painter_->writePdf(path, [&](int page) {
        const QString text = pageText(kPrintingPage, page);
        showStatus(text);
        status.page(text);
    });
    statusBar_->clearMessage();
}

void ReportPreviewWindow::showStatus(const QString& text) {
    statusBar_->showMessage(text);
    // Generation runs without returning to the event loop; paint the text now.
    statusBar_->repaint();
    Q_EMIT statusShown(text);
}

void ReportPreviewWindow::updateLabels() {
    const QString zoom = QStringLiteral("%1 %").arg(zoom_);
    zoomLabel_->setText(zoom);
    zoomLabel_->setAccessibleName(zoom);
    const QString page =
        pageCount() > 0 ? QStringLiteral("Strana %1 z %2").arg(currentPage()).arg(pageCount()) : QString();
    pageLabel_->setText(page);
    pageLabel_->setAccessibleName(page);
}

} // namespace kelvarn
