#include "output/console_runner.h"

#include "core/app_state.h"
#include "core/formatting.h"
#include "core/message_catalogue.h"
#include "core/prompts.h"
#include "core/text_file.h"
#include "core/text_utils.h"
#include "db/database_session.h"
#include "db/date_literals.h"
#include "db/db_error.h"
#include "output/text_export.h"

#include <QSqlQuery>

#include <cmath>

namespace kelvarn {

namespace {

const QString kGuardMarker = QStringLiteral("#ALLOW ONLY");
const QString kCrLf = QStringLiteral("\r\n");

// Raised inside a run; the text is what the log and message 3 show.
class RunError : public std::runtime_error {
  public:
    explicit RunError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

bool isSelect(const QString& statement) {
    // Deliberately only these three spellings, at the very first character: anything
    // else (sElect, a leading blank) goes to the executor.
    return statement.startsWith(QLatin1String("select")) || statement.startsWith(QLatin1String("Select")) ||
           statement.startsWith(QLatin1String("SELECT"));
}

} // namespace

ConsoleRunner::ConsoleRunner(DatabaseSession& session, AppState& state, Prompts& prompts, QObject* parent)
    : QObject(parent), session_(session), state_(state), prompts_(prompts),
      result_(session, QStringLiteral("ADORunSQL")) {}

ConsoleRunner::~ConsoleRunner() = default;

void ConsoleRunner::setMode(ConversionMode mode) {
    if (mode == mode_)
        return;
    mode_ = mode;
    Q_EMIT modeChanged(mode);
}

void ConsoleRunner::setStatusText(const QString& text) {
    if (text == statusText_)
        return;
    statusText_ = text;
    Q_EMIT statusTextChanged(text);
}

QString ConsoleRunner::logFilePath() const {
    return state_.appDir + state_.configBaseName + QStringLiteral(".log");
}

int ConsoleRunner::execute(const QString& statement) {
    return session_.execute(statement);
}

void ConsoleRunner::run(const QString& script) {
    // processEvents() between statements lets the user press Ctrl+R again.
    if (running_)
        return;
    running_ = true;
    Q_EMIT runningChanged(true);

    QString log;
    QString error;
    try {
        // Scripts are CR LF text; a script typed or loaded here may break lines with
        // a bare LF, which must not defeat the line-break stripping of each statement.
        runStatements(withCrLf(script), log);
    } catch (const RunError& e) {
        error = e.text();
    } catch (const DbError& e) {
        error = e.text();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error.isNull()) {
        log += QStringLiteral("\r\n[ERROR - ") + error + QLatin1Char(']');
        showMessageCode(prompts_, state_, 3, error);
        state_.installResult = 1;
    }
    if (!log.isEmpty())
        appendCp1250(logFilePath(), log); // a console that cannot log still runs
    logText_ = log;

    running_ = false;
    Q_EMIT runningChanged(false);
}

void ConsoleRunner::runStatements(QString remaining, QString& log) {
    const QString stamp = formatDateTime(clock_ ? clock_() : QDateTime::currentDateTime());
    const auto logStatement = [&](const QString& statement) {
        log += kCrLf + QStringLiteral("-------------------") + kCrLf + stamp + kCrLf + statement;
    };

    bool skipping = false; // inside the section of an older version than the database's
    // A ";" at the very first position ends the run, as does a script without one.
    for (qsizetype end = remaining.indexOf(QLatin1Char(';')); end > 0;
         end = remaining.indexOf(QLatin1Char(';'))) {
        QString statement = remaining.left(end);
        remaining.remove(0, end + 1);
        while (statement.startsWith(kCrLf))
            statement.remove(0, 2);
        statement = convertStatement(statement, mode_);
        // Markers of other platforms have become "//", which makes these comments.
        if (statement.size() <= 5 || statement.contains(QLatin1String("//")))
            continue;

        if (statement.contains(kGuardMarker)) {
            logStatement(statement);
            skipping = !guardAllows(statement);
        } else if (!skipping) {
            // Dates typed as in the program's own filters, d.m.yyyy, reach the
            // database in its own form.
            statement = DateLiterals::convertStatement(statement, session_.platform());
            logStatement(statement);
            runStatement(statement, log);
        } else {
            continue;
        }
        prompts_.processEvents();
    }
}

void ConsoleRunner::runStatement(const QString& statement, QString& log) {
    state_.installResult = 2;
    int count = 0;
    if (isSelect(statement)) {
        if (result_.isActive())
            result_.close();
        result_.setSql(statement);
        result_.open();
        count = result_.recordCount();
        setStatusText(QStringLiteral("Počet nalezených záznamů: ") + QString::number(count));
    } else {
        count = session_.execute(statement);
        setStatusText(QStringLiteral("Počet ovlivněných záznamů: ") + QString::number(count));
    }
    log += QStringLiteral("\r\n[") + QString::number(count) + QLatin1Char(']');
}

// True when the guarded section is for the database's version, false when it is for
// an older one. A newer one throws: its statements would damage the data.
bool ConsoleRunner::guardAllows(const QString& guard) {
    const QString dbVersion = databaseVersion();
    const double guardVersion = versionNumber(pickDelimitedItem(guard, QStringLiteral("-"), 1));
    const double current = versionNumber(dbVersion);
    if (guardVersion > current)
        throw RunError(
            QStringLiteral("Skript přerušen, protože by došlo k narušení integrity dat.\r\nVerze Vaší "
                           "databáze je ") +
            dbVersion);
    return guardVersion == current;
}

// Read again at every guard: an update script raises the version at the end of each
// section, and the next section's guard must see that.
QString ConsoleRunner::databaseVersion() {
    QString version;
    try {
        QSqlQuery q = session_.query(QStringLiteral("SELECT id, verze_databaze FROM tbl_system WHERE id=1"));
        int rows = 0;
        while (q.next()) {
            if (++rows == 1)
                version = q.value(1).toString();
        }
        if (rows != 1)
            version.clear();
    } catch (const DbError&) {
        version.clear(); // a database without tbl_system yet counts as version 0
    }
    return version.isEmpty() ? QStringLiteral("0") : version;
}

// Version texts use "." as decimal point; it becomes the locale's separator before
// the text is read as a number in that locale's convention.
double ConsoleRunner::versionNumber(const QString& text) const {
    QString localised = text;
    const qsizetype dot = localised.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        localised.replace(dot, 1, state_.decimalSeparator);

    QString plain = localised;
    const QString& separator = state_.decimalSeparator;
    bool ok = !separator.isEmpty();
    if (ok && separator != QLatin1String(".")) {
        ok = !plain.contains(QLatin1Char('.'));
        plain.replace(separator, QStringLiteral("."));
    }
    double value = 0;
    if (ok)
        value = plain.toDouble(&ok); // C conventions, blanks around allowed
    if (!ok || !std::isfinite(value))
        throw RunError(QStringLiteral("'%1' není platné číslo.").arg(localised));
    return value;
}

bool ConsoleRunner::exportResult(const QList<int>& columnOrder) {
    if (result_.isEditing()) {
        showMessageCode(prompts_, state_, 4);
        return false;
    }
    QString separator;
    if (!text_export::askSeparator(prompts_, separator))
        return false;

    const QString savedStatus = statusText_;
    setStatusText(text_export::kStatusExporting);
    bool written = false;
    try {
        if (!result_.isActive())
            throw RunError(QStringLiteral("Není otevřen žádný výsledek dotazu."));
        QList<int> columns;
        for (int c : columnOrder)
            if (c >= 0 && c < result_.columnCount() && !columns.contains(c))
                columns.append(c);
        if (columns.isEmpty())
            for (int c = 0; c < result_.columnCount(); ++c)
                columns.append(c);

        QStringList lines;
        QString header;
        for (int c : columns)
            header += result_.column(c).name + separator;
        lines.append(header);
        for (int row = 0; row < result_.recordCount(); ++row) {
            QString line;
            for (int c : columns)
                line += result_.textAt(row, c) + separator;
            lines.append(text_export::flattenLine(line));
        }
        written = text_export::saveLines(prompts_, QStringLiteral("query_export.txt"), lines);
    } catch (const text_export::WriteError& e) {
        showMessageCode(prompts_, state_, 22, e.text());
    } catch (const RunError& e) {
        showMessageCode(prompts_, state_, 22, e.text());
    } catch (const DbError& e) {
        showMessageCode(prompts_, state_, 22, e.text());
    } catch (const std::exception& e) {
        showMessageCode(prompts_, state_, 22, QString::fromUtf8(e.what()));
    }
    setStatusText(savedStatus);
    return written;
}

} // namespace kelvarn
