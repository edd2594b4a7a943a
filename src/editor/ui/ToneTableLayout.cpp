// The tone pickers: radio buttons laid out from the picker's groups (Corvane:
// eight titled boxes, side by side when the screen is wide enough, else in
// two rows of four; GE and Plectron: one frame, rows of eight), OK and
// Cancel at the right.
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "editor/pages/CToneTableDlg.h"
#include "editor/ui/PageLayouts.h"
#include "ui/qt/CBoundDialog.h"
#include "ui/qt/FitScrollArea.h"
#include "ui/qt/ScreenFit.h"

namespace {

constexpr int kColumns = 8;
constexpr int kBoxesPerRow = 8;
constexpr int kBoxesPerNarrowRow = 4;
constexpr char kHeading[] = "Freq  (Code)";

QRadioButton* Radio(const CToneTableDlg& picker, int index, QButtonGroup* group, QWidget* parent) {
    auto* b = new QRadioButton(QString::fromStdString(picker.Label(index)), parent);
    b->setObjectName(QString::number(CToneTableDlg::RadioId(index)));
    group->addButton(b, index);
    return b;
}

// The Corvane boxes in rows of `perRow`.
void ArrangeBoxes(QGridLayout* grid, const std::vector<QGroupBox*>& boxes, int perRow) {
    for (QGroupBox* box : boxes) grid->removeWidget(box);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        grid->addWidget(boxes[i], static_cast<int>(i) / perRow, static_cast<int>(i) % perRow);
}

QWidget* Boxes(const CToneTableDlg& picker, QButtonGroup* group, std::vector<QGroupBox*>& boxes,
               QWidget* parent) {
    auto* area = new QWidget(parent);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    for (const CToneTableDlg::Group& g : picker.Groups()) {
        auto* box = new QGroupBox(QString::fromStdString(g.title), area);
        auto* column = new QVBoxLayout(box);
        // Ten tones and a heading per box, close together, so that two rows
        // of boxes fit a small screen.
        column->setSpacing(0);
        column->addWidget(new QLabel(kHeading, box));
        for (int i = g.first; i < g.first + g.count; ++i)
            column->addWidget(Radio(picker, i, group, box));
        boxes.push_back(box);
    }
    ArrangeBoxes(grid, boxes, kBoxesPerRow);
    return area;
}

QWidget* Frame(const CToneTableDlg& picker, QButtonGroup* group, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* grid = new QGridLayout(frame);
    for (int c = 0; c < kColumns; ++c) grid->addWidget(new QLabel(kHeading, frame), 0, c);
    for (int i = 0; i < picker.Count(); ++i)
        grid->addWidget(Radio(picker, i, group, frame), 1 + i / kColumns, i % kColumns);
    return frame;
}

// The arrow keys go through every tone in dialog order, from the end of one
// box on to the start of the next, round from the last tone to the first;
// the tone reached is checked.
class DialogOrderArrows : public QObject {
public:
    explicit DialogOrderArrows(QButtonGroup* group) : QObject(group), m_group(group) {
        for (QAbstractButton* b : group->buttons()) b->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return QObject::eventFilter(watched, event);
        int step = 0;
        switch (key->key()) {
            case Qt::Key_Down:
            case Qt::Key_Right:
                step = 1;
                break;
            case Qt::Key_Up:
            case Qt::Key_Left:
                step = -1;
                break;
            default:
                return QObject::eventFilter(watched, event);
        }
        const int count = static_cast<int>(m_group->buttons().size());
        const int from = m_group->id(static_cast<QAbstractButton*>(watched));
        if (from < 0 || count == 0) return QObject::eventFilter(watched, event);
        if (QAbstractButton* to = m_group->button((from + step + count) % count)) {
            to->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            to->click();
        }
        return true;
    }

private:
    QButtonGroup* m_group;
};

}  // namespace

bool RunToneTablePicker(CToneTableDlg& picker, QWidget* parent) {
    ui::qt::CBoundDialog dlg(picker, parent);
    auto* outer = new QHBoxLayout(&dlg);
    // One exclusive group across all boxes: exactly one tone is checked.
    auto* group = new QButtonGroup(&dlg);
    group->setExclusive(true);
    std::vector<QGroupBox*> boxes;
    QWidget* tones = picker.GetToneSet() == CToneTableDlg::kCorvaneSet
                         ? Boxes(picker, group, boxes, &dlg)
                         : Frame(picker, group, &dlg);
    // Scrolls only on a screen too small even for the narrow arrangement.
    auto* scroller = new ui::qt::FitScrollArea(tones, &dlg);
    outer->addWidget(scroller, 1);
    new DialogOrderArrows(group);
    auto* buttons = new QVBoxLayout;
    auto* ok = new QPushButton("OK", &dlg);
    ok->setObjectName(QString::number(ui::IDOK));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", &dlg);
    cancel->setObjectName(QString::number(ui::IDCANCEL));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    // Eight boxes side by side need a wide screen; else two rows of four.
    if (!boxes.empty() && dlg.sizeHint().width() > ui::qt::ScreenRoom(&dlg).width()) {
        ArrangeBoxes(qobject_cast<QGridLayout*>(tones->layout()), boxes, kBoxesPerNarrowRow);
        scroller->updateGeometry();
    }
    dlg.resize(ui::qt::FitToScreen(&dlg, dlg.sizeHint()));
    // The keyboard starts on the tone the field holds (else the first one).
    const int start = picker.Selected() >= 0 ? picker.Selected() : 0;
    if (QAbstractButton* first = group->button(start)) first->setFocus(Qt::OtherFocusReason);
    return dlg.RunModal() == QDialog::Accepted;
}
