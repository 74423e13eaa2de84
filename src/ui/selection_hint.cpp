#include "ui/selection_hint.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace kelvarn {

SelectionHint::SelectionHint(QWidget* mainWindow, std::function<bool()> active, std::function<bool()> themed)
    : QWidget(mainWindow,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      main_(mainWindow), active_(std::move(active)), themed_(std::move(themed)) {
    setObjectName(QStringLiteral("SelectionHint"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    label_ = new QLabel(QStringLiteral("Vyberte záznam (dvojklik) anebo stornujte (Esc)"), this);
    label_->setObjectName(QStringLiteral("SelectionHintText"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    font.setBold(true);
    label_->setFont(font);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 103, 206));
    label_->setPalette(palette);
    setAccessibleName(label_->text());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    // The text must show whole whatever the font falls back to.
    setFixedSize(std::max(279, label_->sizeHint().width()), std::max(17, label_->sizeHint().height()));
    timer_.setInterval(500);
    connect(&timer_, &QTimer::timeout, this, &SelectionHint::place);
    main_->installEventFilter(this);
}

void SelectionHint::place() {
    if (!active_()) {
        if (isVisible()) {
            timer_.stop();
            close();
        }
        return;
    }
    const bool themed = themed_ && themed_();
    const QRect frame = main_->frameGeometry();
    move(frame.left() + frame.width() - width() - (themed ? 8 : 5), frame.top() + (themed ? 28 : 24));
    if (!isVisible()) {
        timer_.start();
        show();
    }
}

bool SelectionHint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move) && active_())
        place();
    return QWidget::eventFilter(watched, event);
}

bool SelectionHint::event(QEvent* event) {
    // The keyboard stays with the main window.
    if (event->type() == QEvent::WindowActivate)
        main_->activateWindow();
    return QWidget::event(event);
}

} // namespace kelvarn
