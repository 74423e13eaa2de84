#include "ui/tips_dialog.h"

#include "app/tips.h"
#include "core/app_state.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kelvarn {

TipsDialog::TipsDialog(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), tipsText_(tipsText()) {
    setWindowTitle(QStringLiteral(" Tip pro dnešní den"));
    setAccessibleName(windowTitle());

    auto* picture = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    picture->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(iconSize));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    // The box has no label of its own; the caption says what it holds.
    text_->setAccessibleName(windowTitle().trimmed());

    next_ = new QPushButton(QStringLiteral("Další tip"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    next_->setAccessibleName(next_->text());
    ok_->setAccessibleName(ok_->text());
    next_->setAutoDefault(false);
    ok_->setDefault(true);
    connect(next_, &QPushButton::clicked, this, &TipsDialog::showNextTip);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* body = new QHBoxLayout;
    body->addWidget(picture);
    body->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(next_);
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(480, 260);
}

void TipsDialog::setTipsText(const QString& text) {
    tipsText_ = text;
}

void TipsDialog::showNextTip() {
    shownTip_ = tipText(tipsText_, state_.tipIndex, state_.platform);
    text_->setPlainText(shownTip_);
    state_.tipIndex = nextTipIndex(state_.tipIndex);
}

void TipsDialog::paintEvent(QPaintEvent* event) {
    // The first tip appears once the window is on screen, so the index chosen at
    // start-up is used even when it was set after the dialog was created.
    if (!painted_) {
        painted_ = true;
        showNextTip();
    }
    QDialog::paintEvent(event);
}

} // namespace kelvarn
