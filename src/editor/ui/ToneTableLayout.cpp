// The tone pickers: radio buttons laid out from the picker's groups (Corvane:
// eight titled boxes side by side; GE and Plectron: one frame, rows of
// eight), OK and Cancel at the right.
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/pages/CToneTableDlg.h"
#include "editor/ui/PageLayouts.h"
#include "ui/qt/CBoundDialog.h"

namespace {

constexpr int kColumns = 8;
constexpr char kHeading[] = "Freq  (Code)";

QRadioButton* Radio(const CToneTableDlg& picker, int index, QButtonGroup* group, QWidget* parent) {
    auto* b = new QRadioButton(QString::fromStdString(picker.Label(index)), parent);
    b->setObjectName(QString::number(CToneTableDlg::RadioId(index)));
    group->addButton(b, index);
    return b;
}

QWidget* Columns(const CToneTableDlg& picker, QButtonGroup* group, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* boxes = new QHBoxLayout(row);
    boxes->setContentsMargins(0, 0, 0, 0);
    for (const CToneTableDlg::Group& g : picker.Groups()) {
        auto* box = new QGroupBox(QString::fromStdString(g.title), row);
        auto* column = new QVBoxLayout(box);
        column->addWidget(new QLabel(kHeading, box));
        for (int i = g.first; i < g.first + g.count; ++i)
            column->addWidget(Radio(picker, i, group, box));
        boxes->addWidget(box);
    }
    return row;
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

}  // namespace

bool RunToneTablePicker(CToneTableDlg& picker, QWidget* parent) {
    ui::qt::CBoundDialog dlg(picker, parent);
    auto* outer = new QHBoxLayout(&dlg);
    // One exclusive group across all boxes: exactly one tone is checked.
    auto* group = new QButtonGroup(&dlg);
    group->setExclusive(true);
    outer->addWidget(picker.GetToneSet() == CToneTableDlg::kCorvaneSet
                         ? Columns(picker, group, &dlg)
                         : Frame(picker, group, &dlg));
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
    // The keyboard starts on the tone the field holds (else the first one):
    // from a checked button the arrow keys check the tone they move to.
    const int start = picker.Selected() >= 0 ? picker.Selected() : 0;
    if (QAbstractButton* first = group->button(start)) first->setFocus(Qt::OtherFocusReason);
    return dlg.RunModal() == QDialog::Accepted;
}
