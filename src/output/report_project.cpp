#include "output/report_project.h"

#include "output/report_error.h"
#include "output/report_template.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSizeF>
#include <QStringDecoder>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace kelvarn {
namespace {

// Far beyond any real project; a bigger file is something else.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

class Parser {
  public:
    Parser(const QByteArray& content, QString fileName) : content_(content), fileName_(std::move(fileName)) {}

    std::vector<ReportDefinition> run();
    std::vector<PartialDefinition> takePartials() { return std::move(partials_); }

  private:
    enum class State { Preamble, Keys, Layout };

    [[noreturn]] void fail(int line, const QString& what) const {
        throw ReportError(QStringLiteral("Soubor tiskových sestav „%1“ je poškozen, řádek %2: %3")
                              .arg(fileName_)
                              .arg(line)
                              .arg(what));
    }
    void checkMagic(const QByteArray& firstLine) const;
    void startReport(int line, const QString& text, bool partial);
    void readKey(int line, const QString& text);
    void finishReport();
    void checkPartialReferences() const;

    const QByteArray& content_;
    QString fileName_;
    std::vector<ReportDefinition> reports_;
    std::vector<PartialDefinition> partials_;
    std::optional<ReportDefinition> current_;
    bool currentIsPartial_ = false;
    int layoutLine_ = 0;
    QStringList layoutLines_;
};

QByteArray withoutCr(QByteArray line) {
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

std::vector<ReportDefinition> Parser::run() {
    QByteArray text = content_;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    const QList<QByteArray> lines = text.split('\n');
    checkMagic(withoutCr(lines.first()));

    State state = State::Preamble;
    for (int i = 1; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = decoder(withoutCr(lines[i]));
        if (decoder.hasError())
            fail(lineNo, QStringLiteral("text není v kódování UTF-8"));

        const bool partial = line.startsWith(ReportProject::kPartialTag);
        if (line.startsWith(ReportProject::kSectionTag) || partial) {
            finishReport();
            startReport(lineNo, line, partial);
            state = State::Keys;
            continue;
        }
        switch (state) {
        case State::Preamble:
            if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
                fail(lineNo,
                     QStringLiteral("očekáván začátek sestavy „%1 jméno“").arg(ReportProject::kSectionTag));
            break;
        case State::Keys:
            if (line.trimmed().isEmpty()) {
                state = State::Layout;
                layoutLine_ = lineNo + 1;
            } else if (!line.startsWith(QLatin1Char('#'))) {
                readKey(lineNo, line);
            }
            break;
        case State::Layout:
            layoutLines_ << line;
            break;
        }
    }
    finishReport();
    checkPartialReferences();
    return std::move(reports_);
}

void Parser::checkMagic(const QByteArray& firstLine) const {
    const QByteArray magic = ReportProject::kMagic.toLatin1();
    const QByteArray trimmed = firstLine.trimmed();
    // The version belongs to the mark: without one the file is not ours either.
    const bool ours = trimmed.startsWith(magic) && trimmed.size() > magic.size() && trimmed.at(magic.size()) == ' ';
    if (!ours)
        throw ReportError(QStringLiteral("Soubor „%1“ není projekt tiskových sestav programu Kelvarn "
                                         "(první řádek má být „%2 %3“).")
                              .arg(fileName_, ReportProject::kMagic)
                              .arg(ReportProject::kVersion));
    const QByteArray version = trimmed.mid(magic.size()).trimmed();
    if (version != QByteArray::number(ReportProject::kVersion))
        throw ReportError(QStringLiteral("Soubor tiskových sestav „%1“ má verzi formátu „%2“, "
                                         "kterou tento program nezná (zná verzi %3).")
                              .arg(fileName_, QString::fromLatin1(version))
                              .arg(ReportProject::kVersion));
}

void Parser::startReport(int line, const QString& text, bool partial) {
    const QString& tag = partial ? ReportProject::kPartialTag : ReportProject::kSectionTag;
    const QString name = text.mid(tag.size()).trimmed();
    if (name.isEmpty())
        fail(line,
             partial ? QStringLiteral("část předlohy nemá jméno") : QStringLiteral("sestava nemá jméno"));
    if (partial && (!name.front().isUpper() || name.contains(QLatin1Char(' ')) || name.contains(u'.')))
        fail(line, QStringLiteral("jméno části předlohy „%1“ má začínat velkým písmenem a nemá obsahovat "
                                  "mezery ani tečky")
                       .arg(name));
    for (const ReportDefinition& earlier : reports_)
        if (!partial && earlier.name == name)
            fail(line, QStringLiteral("sestava „%1“ je v souboru podruhé (poprvé na řádku %2)")
                           .arg(name)
                           .arg(earlier.line));
    for (const PartialDefinition& earlier : partials_)
        if (partial && earlier.name == name)
            fail(line, QStringLiteral("část předlohy „%1“ je v souboru podruhé (poprvé na řádku %2)")
                           .arg(name)
                           .arg(earlier.line));
    currentIsPartial_ = partial;
    current_ = ReportDefinition{};
    current_->name = name;
    current_->line = line;
    layoutLine_ = 0;
    layoutLines_.clear();
}

std::optional<double> number(QString text) {
    bool ok = false;
    const double value = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void Parser::readKey(int line, const QString& text) {
    if (currentIsPartial_)
        fail(line, QStringLiteral("část předlohy nemá klíče (za jejím jménem má následovat prázdný řádek)"));
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0)
        fail(line, QStringLiteral("očekáváno „klíč=hodnota“ nebo prázdný řádek před předlohou"));
    const QString key = text.left(eq).trimmed().toLower();
    const QString value = text.mid(eq + 1).trimmed();
    const QString lower = value.toLower();
    ReportPageSetup& page = current_->page;
    auto bad = [&] { fail(line, QStringLiteral("chybná hodnota „%1“ klíče „%2“").arg(value, key)); };

    if (key == QLatin1String("page")) {
        static const std::pair<const char*, QPageSize::PageSizeId> sizes[] = {{"a4", QPageSize::A4},
                                                                              {"a5", QPageSize::A5},
                                                                              {"a3", QPageSize::A3},
                                                                              {"letter", QPageSize::Letter}};
        bool found = false;
        for (const auto& [label, id] : sizes)
            if (lower == QLatin1String(label)) {
                page.pageSize = id;
                found = true;
            }
        if (!found)
            bad();
    } else if (key == QLatin1String("orientation")) {
        if (lower == QLatin1String("portrait"))
            page.orientation = QPageLayout::Portrait;
        else if (lower == QLatin1String("landscape"))
            page.orientation = QPageLayout::Landscape;
        else
            bad();
    } else if (key == QLatin1String("margins")) {
        const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        std::vector<double> mm;
        for (const QString& part : parts) {
            const std::optional<double> v = number(part);
            if (!v || *v < 0 || *v > 100)
                bad();
            mm.push_back(*v);
        }
        if (mm.size() == 1)
            page.marginsMm = QMarginsF(mm[0], mm[0], mm[0], mm[0]);
        else if (mm.size() == 4) // top right bottom left, as in CSS
            page.marginsMm = QMarginsF(mm[3], mm[0], mm[1], mm[2]);
        else
            bad();
    } else if (key == QLatin1String("font")) {
        if (value.isEmpty())
            bad();
        page.fontFamily = value;
    } else if (key == QLatin1String("font-size")) {
        const std::optional<double> v = number(value);
        if (!v || *v < 4 || *v > 72)
            bad();
        page.fontSizePt = *v;
    } else if (key == QLatin1String("page-numbers")) {
        if (lower == QLatin1String("yes") || lower == QLatin1String("ano"))
            page.pageNumbers = true;
        else if (lower == QLatin1String("no") || lower == QLatin1String("ne"))
            page.pageNumbers = false;
        else
            bad();
    } else {
        fail(line, QStringLiteral("neznámý klíč „%1“").arg(key));
    }
}

void Parser::finishReport() {
    if (!current_)
        return;
    ReportDefinition report = std::move(*current_);
    current_.reset();

    // Blank lines that merely separate sections belong to no layout.
    while (!layoutLines_.isEmpty() && layoutLines_.last().trimmed().isEmpty())
        layoutLines_.removeLast();
    if (layoutLines_.isEmpty())
        fail(report.line,
             currentIsPartial_
                 ? QStringLiteral("část předlohy „%1“ je prázdná (za jménem má následovat prázdný "
                                  "řádek a pak text)")
                       .arg(report.name)
                 : QStringLiteral("sestava „%1“ nemá předlohu (za klíči má následovat prázdný řádek "
                                  "a pak text předlohy)")
                       .arg(report.name));
    // A part is taken in where it is named, so it brings no line end of its own.
    report.layout =
        layoutLines_.join(QLatin1Char('\n')) + (currentIsPartial_ ? QString() : QStringLiteral("\n"));

    const QSizeF paper = QPageSize(report.page.pageSize).size(QPageSize::Millimeter);
    const QSizeF oriented = report.page.orientation == QPageLayout::Landscape ? paper.transposed() : paper;
    const QMarginsF& m = report.page.marginsMm;
    if (oriented.width() - m.left() - m.right() < 20 || oriented.height() - m.top() - m.bottom() < 20)
        fail(report.line,
             QStringLiteral("okraje sestavy „%1“ nenechávají na stránce místo").arg(report.name));

    if (const auto problem = report_template::check(report.layout))
        fail(layoutLine_ + problem->line - 1,
             (currentIsPartial_ ? QStringLiteral("chybná část předlohy „%1“: %2")
                                : QStringLiteral("chybná předloha sestavy „%1“: %2"))
                 .arg(report.name, problem->message));
    if (currentIsPartial_)
        partials_.push_back({report.name, report.layout, report.line});
    else
        reports_.push_back(std::move(report));
}

// Every {{>Name}} names a part of the project, and no part takes itself in, however
// indirectly: the template library would follow such a loop until the stack ran out.
void Parser::checkPartialReferences() const {
    static const QRegularExpression reference(QStringLiteral("\\{\\{>\\s*([^}\\s]+)\\s*\\}\\}"));
    std::map<QString, QStringList> uses;
    auto referencesOf = [](const QString& layout) {
        QStringList names;
        for (auto it = reference.globalMatch(layout); it.hasNext();)
            names << it.next().captured(1);
        return names;
    };
    auto known = [this](const QString& name) {
        return std::any_of(partials_.begin(), partials_.end(),
                           [&](const PartialDefinition& p) { return p.name == name; });
    };
    for (const ReportDefinition& r : reports_)
        for (const QString& name : referencesOf(r.layout))
            if (!known(name))
                fail(r.line,
                     QStringLiteral("sestava „%1“ používá neznámou část předlohy „%2“").arg(r.name, name));
    for (const PartialDefinition& p : partials_) {
        uses[p.name] = referencesOf(p.layout);
        for (const QString& name : uses[p.name])
            if (!known(name))
                fail(p.line,
                     QStringLiteral("část předlohy „%1“ používá neznámou část „%2“").arg(p.name, name));
    }
    // Depth-first search for a cycle.
    std::map<QString, int> state; // 0 unseen, 1 on the path, 2 done
    std::function<void(const PartialDefinition&, const QString&)> visit = [&](const PartialDefinition& p,
                                                                              const QString& path) {
        state[p.name] = 1;
        for (const QString& next : uses[p.name]) {
            if (state[next] == 1)
                fail(p.line, QStringLiteral("části předlohy se zacyklí: %1 → %2").arg(path, next));
            if (state[next] == 0)
                for (const PartialDefinition& q : partials_)
                    if (q.name == next)
                        visit(q, path + QStringLiteral(" → ") + next);
        }
        state[p.name] = 2;
    };
    for (const PartialDefinition& p : partials_)
        if (state[p.name] == 0)
            visit(p, p.name);
}

} // namespace

ReportProject ReportProject::load(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw ReportError(QStringLiteral("Soubor tiskových sestav „%1“ neexistuje.").arg(path));
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Soubor tiskových sestav „%1“ nelze číst: %2")
                              .arg(path, info.isDir() ? QStringLiteral("je to složka") : file.errorString()));
    if (file.size() > kMaxFileSize)
        throw ReportError(QStringLiteral("Soubor „%1“ není projekt tiskových sestav programu Kelvarn "
                                         "(je příliš velký).")
                              .arg(path));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ReportError(
            QStringLiteral("Soubor tiskových sestav „%1“ nelze číst: %2").arg(path, file.errorString()));
    return parse(content, path);
}

ReportProject ReportProject::parse(const QByteArray& content, const QString& fileName) {
    ReportProject project;
    Parser parser(content, fileName);
    project.reports_ = parser.run();
    project.partials_ = parser.takePartials();
    return project;
}

QStringList ReportProject::names() const {
    QStringList names;
    for (const ReportDefinition& report : reports_)
        names << report.name;
    return names;
}

const ReportDefinition* ReportProject::find(const QString& name) const {
    for (const ReportDefinition& report : reports_)
        if (report.name == name)
            return &report;
    return nullptr;
}

} // namespace kelvarn
