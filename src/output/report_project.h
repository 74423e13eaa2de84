#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace kelvarn {

// How a report is put on paper; every report of a project may choose its own.
struct ReportPageSetup {
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{15, 15, 15, 15};
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSizePt = 9;
    bool pageNumbers = false;

    bool operator==(const ReportPageSetup&) const = default;
};

struct ReportDefinition {
    QString name; // also its display name
    ReportPageSetup page;
    QString layout; // Mustache template producing HTML
    int line = 0;   // of its "[report]" line, for messages
};

// A piece of layout several reports share: "[partial] Name", an empty line, the
// template; a layout takes it in with {{>Name}}. Its name begins with a capital
// letter, so it never meets a column of a row (those are lower case).
struct PartialDefinition {
    QString name;
    QString layout;
    int line = 0;
};

// The report project file (sestavy.rav): UTF-8 text, the first line
// "KELVARN-REPORTS 1", then one section per report:
//
//   [report] M10_Seznam_obchodnich_partneru
//   page=A4
//   orientation=portrait
//                                      <- one empty line ends the keys
//   <h1>…</h1>{{#RvDataSetConnection12}}…{{/RvDataSetConnection12}}
//
// The layout runs up to the next line that begins with "[report]" or to the end of
// the file. Anything the parser does not understand is an error naming the line, so
// a damaged file is never half loaded.
class ReportProject {
  public:
    static inline const QString kMagic = QStringLiteral("KELVARN-REPORTS");
    static constexpr int kVersion = 1;
    static inline const QString kSectionTag = QStringLiteral("[report]");
    static inline const QString kPartialTag = QStringLiteral("[partial]");

    // Throws ReportError when the file is missing, unreadable, not a report project
    // or damaged.
    static ReportProject load(const QString& path);
    // fileName only names the source in messages.
    static ReportProject parse(const QByteArray& content, const QString& fileName);

    const std::vector<ReportDefinition>& reports() const { return reports_; }
    const std::vector<PartialDefinition>& partials() const { return partials_; }
    QStringList names() const;
    // Exact, case-sensitive match; null when the project holds no such report.
    const ReportDefinition* find(const QString& name) const;

  private:
    std::vector<ReportDefinition> reports_;
    std::vector<PartialDefinition> partials_;
};

} // namespace kelvarn
