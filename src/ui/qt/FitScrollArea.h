#pragma once
// A scroll area that asks for the whole of what it holds: on a screen with
// room nothing scrolls, on a small one the window shrinks to the screen and
// the contents scroll. A control that gets the keyboard focus (Tab, arrow
// keys) is scrolled into view.
#include <QScrollArea>

namespace ui::qt {

class FitScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit FitScrollArea(QWidget* contents, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    // What it holds asks for another size: so does the area, to its window.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ui::qt
