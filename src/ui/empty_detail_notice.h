#pragma once

#include <QLabel>

namespace kelvarn {

// What a detail panel shows while its list has no record: a plain statement that
// there is nothing to show and how to start a record, in place of a form of
// disabled fields. It takes the focus the first field would get, so the keys of
// the panel (Insert, F9, Esc) keep working and assistive tools read it.
class EmptyDetailNotice : public QLabel {
    Q_OBJECT
  public:
    explicit EmptyDetailNotice(QWidget* parent = nullptr);

    static QString text();

    // The record the detail shows came (true) or went (false): the notice and the
    // rest of the panel trade places.
    void recordShown(bool shown);
};

} // namespace kelvarn
