#pragma once

#include "output/report_output.h"
#include "output/report_painter.h"

#include <QDialog>
#include <QPrinter>
#include <QString>

#include <optional>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QStatusBar;
class QToolBar;

namespace kelvarn {

class Prompts;

// What the program tells the report engine's own windows.
namespace report_window {
inline const QString kPreviewTitle = QStringLiteral("Náhled");
inline constexpr int kPreviewWidth = 960;
inline constexpr int kPreviewHeight = 650;
inline constexpr int kInitialZoom = 115; // percent
inline constexpr int kZoomStep = 15;
inline constexpr int kMinZoom = kZoomStep;
inline constexpr int kMaxZoom = 400;
inline const QString kGeneratingPage = QStringLiteral("Generuji stranu %p");
inline const QString kPrintingPage = QStringLiteral("Tisknu stranu %p");
inline const QString kSetupTitle = QStringLiteral("Volby tisku");
inline const QString kStatusTitle = QStringLiteral("Report Status");
inline const QString kJobTitle = QStringLiteral("Rave Report");
inline const QString kErrorCaption = QStringLiteral("Chyba tiskového systému");

inline const QString kZoomIn = QStringLiteral("Zvětšit");
inline const QString kZoomOut = QStringLiteral("Zmenšit");
inline const QString kPreviousPage = QStringLiteral("Předchozí strana");
inline const QString kNextPage = QStringLiteral("Další strana");
inline const QString kPrint = QStringLiteral("Tisk...");
inline const QString kSavePdf = QStringLiteral("Uložit jako PDF...");
inline const QString kClose = QStringLiteral("Zavřít");

// "%p" stands for the page number.
QString pageText(const QString& pattern, int page);
} // namespace report_window

// The report engine's preview: the generated pages, zoom, printing through the
// printer setup, and saving as PDF. Pages are printed at their natural size (a
// printer scale of 100 % both ways).
class ReportPreviewWindow : public QDialog, public ReportOutput {
    Q_OBJECT
  public:
    // File names and error boxes go through prompts.
    explicit ReportPreviewWindow(Prompts& prompts, QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    // Generates the pages and waits until the window is closed. With nobody at the
    // screen (KELVARN_UNATTENDED) the pages are generated and the window is not shown.
    void present(const RenderedReport& report) override;
    // Generates the pages into the window without showing it or waiting.
    void setReport(const RenderedReport& report);

    int zoomPercent() const { return zoom_; }
    void setZoomPercent(int percent); // kept within kMinZoom … kMaxZoom
    int pageCount() const;
    int currentPage() const;
    QPrinter& printer() { return printer_; }

    // Both throw ReportError; the slots below report it in a box instead.
    void printTo(QPrinter& printer);
    void writePdf(const QString& path);

  public Q_SLOTS:
    void zoomIn() { setZoomPercent(zoom_ + report_window::kZoomStep); }
    void zoomOut() { setZoomPercent(zoom_ - report_window::kZoomStep); }
    void previousPage();
    void nextPage();
    // The printer setup "Volby tisku", then printing on the printer chosen there.
    void print();
    // Asks for a file name, then writes the PDF.
    void saveAsPdf();

  Q_SIGNALS:
    // Every progress text as it is shown ("Generuji stranu 2", …).
    void statusShown(const QString& text);

  private:
    QAction* addTool(const QString& text, const QKeySequence& key, const char* themeIcon);
    void generate(QPrinter* printer);
    void showStatus(const QString& text);
    void updateLabels();

    Prompts& prompts_;
    QPrinter printer_{QPrinter::HighResolution};
    std::optional<ReportPainter> painter_;
    int zoom_ = report_window::kInitialZoom;

    QToolBar* toolBar_ = nullptr;
    QPrintPreviewWidget* preview_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
};

} // namespace kelvarn
