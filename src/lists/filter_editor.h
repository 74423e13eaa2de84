#pragma once

#include "db/dataset.h"
#include "lists/column_caption_map.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kelvarn {

class DbContext;
class PanelQueries;

// What the filter dialog hands back when it closes: nothing is applied when the
// name is empty.
struct FilterResult {
    QString name;
    QString text;      // the definition on one line
    QString condition; // captions translated to column names

    bool isEmpty() const { return name.isEmpty(); }
    bool operator==(const FilterResult&) const = default;
};

// The filter dialog without its widgets: the module's stored filters (the filter
// list of PanelQueries on the dataset ADOFormFiltr), the dialog's own record
// commands, "Vložit atribut" and the closing that translates the chosen filter.
// Database errors (DbError) travel out of every command.
class FilterEditor {
  public:
    // The widgets the commands reach.
    struct View {
        std::function<QList<Dataset::Bookmark>()> selectedRows;
        std::function<void(bool readOnly)> setGridReadOnly;
        std::function<void()> focusNameColumn;
    };

    FilterEditor(DbContext& db, PanelQueries& queries, Dataset& filters);

    Dataset& filters() { return filters_; }
    void setView(View view) { view_ = std::move(view); }

    // The dialog prepares itself for the module of tab: its filters, the cursor on
    // the one applied last (0: none).
    void prepare(int tab, qint64 appliedId, const QList<CaptionEntry>& captions);
    int tab() const { return tab_; }

    // --- the dialog's record commands -------------------------------------------
    void refresh();
    void first();
    void prior();
    void next();
    void last();
    void newRow();
    // Ctrl+S or the toolbar: only a row being edited; asks message 8 unless saving
    // without the prompt is set. True when the row was written.
    bool save();
    // Ctrl+Del or the toolbar: the selected rows, or the current one, after message 9.
    void deleteRows();
    // Esc: drops the changes of a row being edited; false when nothing was edited
    // (Esc then closes the dialog like " Storno").
    bool cancelEdit();

    // Closing the dialog. apply: " Aplikovat filtr" (a row being edited is written
    // first, without asking). False when the dialog must stay open: a row is being
    // edited (message 4), or the chosen filter cannot be applied (the user is told
    // which caption is unknown, or what else to correct). appliedId receives the
    // chosen row's id when a filter is handed back.
    bool close(bool apply, FilterResult& result, qint64& appliedId);

    // --- "Vložit atribut" ---------------------------------------------------------
    // The items of the attribute box: the module's captions, then the operators.
    QStringList attributeItems() const;
    struct Insertion {
        QString text; // the memo's whole new text
        int start = 0;
        int length = 0; // the inserted text, to select it
    };
    using DateChooser = std::function<std::optional<QDate>()>;
    // The attribute replaces the memo's selection [selStart, selStart + selLength).
    // nullopt when nothing is inserted (no attribute, no date chosen).
    std::optional<Insertion> insertAttribute(const QString& item, const QString& memoText, int selStart,
                                             int selLength, const DateChooser& chooseDate);
    // The memo's text typed into the row (starting an edit or a new row).
    void setDefinition(const QString& text);

    // The rule of every save of a filter row (BeforePost) and of a row started.
    bool beforePost(Dataset& row);
    void afterInsert(Dataset& row);

  private:
    bool refusedWhileEditing();
    void editForTyping();

    DbContext& db_;
    PanelQueries& queries_;
    Dataset& filters_;
    View view_;
    int tab_ = 0;
    QList<CaptionEntry> captions_;
};

} // namespace kelvarn
