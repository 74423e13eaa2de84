#pragma once

#include "documents/document_kinds.h"

#include <QObject>

namespace kelvarn {

// The kind selector of issued or received documents without its widget: shown in
// place of the number box while a new document is entered, hidden once the row is
// saved or cancelled. The save reads its index to choose the number prefix.
class KindSelector : public QObject {
    Q_OBJECT
  public:
    explicit KindSelector(DocumentType type, QObject* parent = nullptr) : QObject(parent), type_(type) {}

    DocumentType type() const { return type_; }
    QStringList captions() const { return kindCaptions(type_); }
    // The position chosen; may be outside 0..4 when the widget had no valid choice.
    int index() const { return index_; }
    bool isVisible() const { return visible_; }

    void show(int index);
    void hide();
    // Only records the position; the document values follow through
    // DocumentRules::kindChosen.
    void setIndex(int index);

  Q_SIGNALS:
    // Visibility or index changed: the widget follows.
    void changed();

  private:
    DocumentType type_;
    int index_ = 0;
    bool visible_ = false;
};

} // namespace kelvarn
