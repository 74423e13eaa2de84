#include "documents/kind_selector.h"

namespace kelvarn {

void KindSelector::show(int index) {
    if (visible_ && index_ == index)
        return;
    visible_ = true;
    index_ = index;
    Q_EMIT changed();
}

void KindSelector::hide() {
    if (!visible_)
        return;
    visible_ = false;
    Q_EMIT changed();
}

void KindSelector::setIndex(int index) {
    if (index_ == index)
        return;
    index_ = index;
    Q_EMIT changed();
}

} // namespace kelvarn
