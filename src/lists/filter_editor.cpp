#include "lists/filter_editor.h"

#include "core/message_catalogue.h"
#include "db/db_context.h"
#include "lists/filter_translation.h"
#include "lists/panel_queries.h"

#include <QDateTime>

#include <algorithm>

namespace kelvarn {

namespace {

const QString kId = QStringLiteral("id");
const QString kName = QStringLiteral("nazev");
const QString kDefinition = QStringLiteral("definice");

} // namespace

FilterEditor::FilterEditor(DbContext& db, PanelQueries& queries, Dataset& filters)
    : db_(db), queries_(queries), filters_(filters) {
    filters_.beforePost = [this](Dataset& row) { return beforePost(row); };
    filters_.afterInsert = [this](Dataset& row) { afterInsert(row); };
}

void FilterEditor::prepare(int tab, qint64 appliedId, const QList<CaptionEntry>& captions) {
    tab_ = tab;
    captions_ = captions;
    filters_.close();
    queries_.setFilterTab(tab);
    filters_.setSql(queries_.statement(PanelQueries::kFilterList));
    filters_.open();
    if (appliedId != 0)
        filters_.locate(kId, appliedId);
}

bool FilterEditor::refusedWhileEditing() {
    if (!filters_.isEditing())
        return false;
    showMessageCode(db_.prompts(), db_.state(), 4);
    return true;
}

void FilterEditor::refresh() {
    if (refusedWhileEditing())
        return;
    if (view_.setGridReadOnly)
        view_.setGridReadOnly(false);
    queries_.reopen(PanelQueries::kFilterList, filters_, kId);
}

void FilterEditor::first() {
    if (!refusedWhileEditing())
        filters_.first();
}

void FilterEditor::prior() {
    if (!refusedWhileEditing())
        filters_.prior();
}

void FilterEditor::next() {
    if (!refusedWhileEditing())
        filters_.next();
}

void FilterEditor::last() {
    if (!refusedWhileEditing())
        filters_.last();
}

void FilterEditor::newRow() {
    if (refusedWhileEditing())
        return;
    filters_.append();
    if (view_.focusNameColumn)
        view_.focusNameColumn();
}

bool FilterEditor::save() {
    if (!filters_.isEditing())
        return false;
    if (!db_.state().saveWithoutPrompt && showMessageCode(db_.prompts(), db_.state(), 8) != Answer::Yes)
        return false;
    if (!filters_.post())
        return false;
    // Oracle draws the id on the server; the list shows it once reread.
    if (db_.platform() == DbPlatform::Oracle)
        queries_.reopen(PanelQueries::kFilterList, filters_, kId);
    return true;
}

void FilterEditor::deleteRows() {
    if (filters_.isEmpty())
        return;
    if (refusedWhileEditing())
        return;
    if (!db_.confirmDelete())
        return;
    const QString remembered = filters_.asString(kId);
    QList<Dataset::Bookmark> rows = view_.selectedRows ? view_.selectedRows() : QList<Dataset::Bookmark>();
    if (rows.isEmpty())
        rows.append(filters_.bookmark());
    if (view_.setGridReadOnly)
        view_.setGridReadOnly(true);
    try {
        for (const Dataset::Bookmark mark : rows)
            if (filters_.gotoBookmark(mark))
                filters_.deleteRecord();
    } catch (...) {
        if (view_.setGridReadOnly)
            view_.setGridReadOnly(false);
        throw;
    }
    if (view_.setGridReadOnly)
        view_.setGridReadOnly(false);
    filters_.locate(kId, remembered);
}

bool FilterEditor::cancelEdit() {
    if (!filters_.isEditing())
        return false;
    filters_.cancel();
    return true;
}

bool FilterEditor::close(bool apply, FilterResult& result, qint64& appliedId) {
    if (apply && filters_.isEditing() && !filters_.post())
        return false;
    if (refusedWhileEditing())
        return false;
    result = {};
    if (!apply || !filters_.isActive() || filters_.isEmpty())
        return true;
    const QString definition = filters_.asString(kDefinition);
    FilterResult chosen;
    chosen.name = filters_.asString(kName);
    chosen.text = filter_translation::oneLine(definition);
    chosen.condition = filter_translation::translate(definition, captions_);
    // A filter without a name is not applied, so there is nothing to check.
    if (!chosen.name.isEmpty()) {
        const filter_translation::Check check = filter_translation::check(chosen.condition);
        if (!check.ok()) {
            db_.prompts().message(QStringLiteral("Filtr"), filter_translation::faultText(check),
                                  MessageStyle::Warning);
            return false;
        }
    }
    appliedId = filters_.asInteger(kId);
    result = chosen;
    return true;
}

QStringList FilterEditor::attributeItems() const {
    QStringList items;
    for (const CaptionEntry& entry : captions_)
        items.append(entry.caption);
    for (const char* item : {"(",   ")",  "AND", "OR",    "NOT",   "<>",     ">",       ">=",
                             "<",   "<=", "=",   "LIKE",  "IS",    "NULL",   "$",       "%",
                             "_",   "'",  "UPPER", "LOWER", "DATE()", "datum..."})
        items.append(QString::fromLatin1(item));
    return items;
}

void FilterEditor::editForTyping() {
    if (filters_.state() != Dataset::State::Browse)
        return;
    if (filters_.isEmpty())
        filters_.append();
    else
        filters_.edit();
}

std::optional<FilterEditor::Insertion> FilterEditor::insertAttribute(const QString& item, const QString& memoText,
                                                                    int selStart, int selLength,
                                                                    const DateChooser& chooseDate) {
    if (item.isEmpty())
        return std::nullopt;
    QString text;
    if (item == QLatin1String("datum...")) {
        const std::optional<QDate> date = chooseDate ? chooseDate() : std::nullopt;
        if (!date || !date->isValid())
            return std::nullopt;
        text = QStringLiteral("'%1.%2.%3'")
                   .arg(date->day(), 2, 10, QLatin1Char('0'))
                   .arg(date->month(), 2, 10, QLatin1Char('0'))
                   .arg(date->year());
    } else if (item == QLatin1String("'") || item == QLatin1String("%") || item == QLatin1String("_")) {
        text = item;
    } else {
        text = item + QLatin1Char(' ');
    }
    editForTyping();
    const int start = std::clamp(selStart, 0, static_cast<int>(memoText.size()));
    const int end = std::clamp(selStart + selLength, start, static_cast<int>(memoText.size()));
    Insertion out;
    out.text = memoText.left(start) + text + memoText.mid(end);
    out.start = start;
    out.length = static_cast<int>(text.size());
    filters_.setValue(kDefinition, out.text);
    return out;
}

void FilterEditor::setDefinition(const QString& text) {
    // Showing a row's definition in the memo is no typing.
    if (filters_.isActive() && filters_.currentRow() >= 0 && filters_.asString(kDefinition) == text)
        return;
    editForTyping();
    filters_.setValue(kDefinition, text);
}

bool FilterEditor::beforePost(Dataset& row) {
    const bool inserting = row.state() == Dataset::State::Insert;
    db_.preparePost(row, inserting);
    row.setValue(QStringLiteral("id_panel"), tab_);
    if (inserting && row.asString(kName).isEmpty())
        row.setValue(kName, QStringLiteral("Filtr"));
    db_.stampRow(row);
    return true;
}

void FilterEditor::afterInsert(Dataset& row) {
    row.setValue(QStringLiteral("dateTS0"), QDateTime::currentDateTime());
}

} // namespace kelvarn
