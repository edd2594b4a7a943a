#pragma once
// Small pieces every dialog layout uses: a widget named by its control id,
// and the dialogs' push buttons.
#include <QPushButton>
#include <QString>

namespace ui::qt {

// Names the widget after its control id, so the binder finds it.
template <typename W>
W* Id(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

// Enter presses the default button, or the button that has the focus.
inline QPushButton* Button(const char* text, int id, bool isDefault = false) {
    auto* b = Id(new QPushButton(QString::fromUtf8(text)), id);
    b->setDefault(isDefault);
    b->setAutoDefault(true);
    b->setMinimumWidth(80);
    return b;
}

}  // namespace ui::qt
