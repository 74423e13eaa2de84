#pragma once

#include "core/app_state.h"
#include "core/diagnostic_log.h"
#include "core/prompts.h"
#include "db/database_session.h"
#include "db/db_platform.h"

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

namespace kelvarn {

class Dataset;

// A required column and the caption message 19 names when it is empty.
struct RequiredField {
    QString column;
    QString caption;
};

// What the rules above the database need of it: the session, the run's settings,
// the user's answers and the diagnostic log, with the shared procedures every
// module uses (statement composition, single-value lookup, ids, the post protocol).
// The text of a value read from any driver (long texts come as UTF-8 bytes, money
// in the general number format); "" for null.
QString textOfValue(const QVariant& value);

class DbContext {
public:
    DbContext(DatabaseSession& session, AppState& state, Prompts& prompts, DiagnosticLog& log);

    DatabaseSession& session() { return session_; }
    AppState& state() { return state_; }
    Prompts& prompts() { return prompts_; }
    DiagnosticLog& log() { return log_; }
    DbPlatform platform() const;

    // The panel statement in the platform's dialect; logged when debug is on.
    QString composeStatement(const QString& select, const QString& filter, const QString& where,
                             const QString& orderBy);

    // A value as a string literal of the platform (SqlDialect::quoteText) and the
    // pattern of a begins-with search (SqlDialect::likePrefix): every text a user
    // typed goes into a statement through one of these.
    QString quoteText(const QString& value) const;
    QString likePrefix(const QString& prefix) const;

    // With an id: column of that row of table; without: "SELECT column As AutoInc
    // FROM table". "" unless exactly one row comes back (an id that is no integer
    // finds no row).
    QString lookupValue(const QString& table, const QString& column, const QString& id);

    // The next id from the table's sequence (Oracle, Firebird). Throws DbError when
    // the sequence gives nothing.
    qint64 nextId(const QString& table);

    void preparePost(Dataset& dataset, bool inserting) const;

    // Message 8 unless saving without prompt is on or the one-shot skip is set.
    bool confirmSave();
    bool confirmDelete();
    // Operations that post on the user's behalf after their own question.
    void skipNextConfirmation() { skipConfirmOnce_ = true; }
    void resetSkipConfirmation() { skipConfirmOnce_ = state_.saveWithoutPrompt; }

    // The common part of a BeforePost handler: confirmation, required values
    // (message 19), post properties, id from the sequence, time stamps. Returns
    // false when the post must be aborted.
    bool runPostProtocol(Dataset& dataset, const std::vector<RequiredField>& required);
    // Time stamps and id only (for posts the program makes without asking).
    void stampRow(Dataset& dataset);

private:
    DatabaseSession& session_;
    AppState& state_;
    Prompts& prompts_;
    DiagnosticLog& log_;
    bool skipConfirmOnce_ = false;
};

// Year (or month) of a date typed in the locale's short date format, as a decimal
// number without leading zeros; an empty text means today.
QString yearOrMonthOf(const QString& dateText, bool wantMonth);

} // namespace kelvarn
