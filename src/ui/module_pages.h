#pragma once

#include "db/dataset.h"
#include "lists/detail_layout.h"
#include "lists/grid_layout.h"
#include "ui/dataset_grid.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QStackedWidget;

namespace kelvarn {

class DatasetTableModel;
class Prompts;

// A detail panel's fields bound to the current row: grouped and captioned as the
// panel's layout says, selectors for the offered values, memos for long texts and
// a date button beside every date. Typing starts an edit and writes the value; a
// text the column cannot take yet waits for applyPending.
class BoundForm : public QWidget {
    Q_OBJECT
  public:
    struct Options {
        DetailLayout layout;
        bool showRest = true; // columns the layout does not name get a group of their own
        int memoLines = 5;    // 0: the memo takes the height there is
        // Captions of the columns the layout does not name.
        std::function<QString(const QString& column)> titles;
    };
    BoundForm(Dataset* dataset, Options options, QWidget* parent = nullptr);

    Dataset* dataset() const { return dataset_; }
    QWidget* editorFor(const QString& column) const;
    QString captionOf(const QString& column) const;
    // The column an editor of this form shows ("" for a widget not of the form).
    QString columnOf(const QObject* editor) const;
    // Writes texts that could not be written while typing; on one the row refuses
    // the user is told, the field gets the focus and false comes back.
    bool applyPending(Prompts& prompts);
    void reload();
    // Whether the form shows a record (a current row, or one being entered).
    bool showsRecord() const { return shown_ == 1; }

  Q_SIGNALS:
    void focusEntered();
    void focusLeft();
    // A double click or the date button asks for the date picker.
    void datePickRequested(const QString& column, const QString& text);
    // The form came to show a record, or has none left to show.
    void recordShown(bool shown);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Field {
        QString column;
        QString caption;
        QWidget* editor = nullptr;
        bool readOnly = false;
        bool pending = false;
        int decimals = -1; // an amount's fixed decimals
    };
    void build();
    QWidget* addGroup(const DetailGroup& group);
    QWidget* makeEditor(const DetailField& spec, int column, std::size_t index);
    void typed(Field& field);
    bool write(Field& field);

    QPointer<Dataset> dataset_;
    Options options_;
    std::vector<Field> fields_;
    bool loading_ = false;
    bool writing_ = false;
    int shown_ = -1; // not known yet
};

// The panels of the modules after the entrepreneur: a list page per module, and
// the detail panels next to their lists, each found by its container name.
class ModulePages {
  public:
    using DatasetLookup = std::function<Dataset*(const QString& name)>;
    using CaptionLookup = std::function<QString(int tab, const QString& column)>;

    ModulePages(DatasetLookup datasets, CaptionLookup captions);

    // The page of one module (tab 1..11), named by its caption.
    QWidget* buildPage(int tab, const QString& caption, QWidget* parent);

    QWidget* container(const QString& name) const { return containers_.value(name); }
    DatasetGrid* grid(const QString& name) const { return grids_.value(name); }
    const QHash<QString, DatasetGrid*>& grids() const { return grids_; }
    // Grids and memos by their control names (DBGridFAV, DBMemoZbozi, …).
    QWidget* control(const QString& name) const { return controls_.value(name); }
    const QHash<QString, QWidget*>& controls() const { return controls_; }
    // The detail form shown in a container (null for list containers).
    BoundForm* form(const QString& container) const { return forms_.value(container); }
    const QHash<QString, BoundForm*>& forms() const { return forms_; }
    // What a detail container shows in place of its form while there is no record.
    QWidget* emptyNotice(const QString& container) const { return notices_.value(container); }
    const QHash<QString, QWidget*>& emptyNotices() const { return notices_; }

  private:
    DatasetGrid* addGrid(QWidget* parent, int tab, const char* dataset, const char* name,
                         const QString& title, bool editable, bool hasDetail);
    BoundForm* addForm(QWidget* parent, int tab, const char* dataset);
    QWidget* addContainer(QWidget* page, const char* name);
    // A row of read-only figures under a list; the figures are filled by their owners.
    struct StripField {
        QString name;
        QString label;
        QString hint;
    };
    QWidget* addTotalsStrip(QWidget* parent, const QList<StripField>& fields);

    DatasetLookup datasets_;
    CaptionLookup captions_;
    QHash<QString, QWidget*> containers_;
    QHash<QString, DatasetGrid*> grids_;
    QHash<QString, QWidget*> controls_;
    QHash<QString, BoundForm*> forms_;
    QHash<QString, QWidget*> notices_;
};

} // namespace kelvarn
