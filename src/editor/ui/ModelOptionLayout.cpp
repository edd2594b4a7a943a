// "Model Options": one row per feature inside the "Model Options" frame,
// labels right-aligned on the left, the lists beside them, a time edit with
// its "Sec." to the right where a row has one, and the squelch slider with
// its level number.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

#include "editor/pages/CModelOption.h"
#include "editor/ui/PageLayouts.h"

namespace {

template <typename W>
W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

}  // namespace

void LayoutModelOptionPage(QWidget* page, ui::CPropertyPage&) {
    auto* outer = new QVBoxLayout(page);
    auto* box = new QGroupBox("Model Options", page);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    int row = 0;
    for (const CModelOption::Row& r : CModelOption::kLayout) {
        grid->addWidget(new QLabel(r.label, box), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        if (r.control == CModelOption::IDC_SQUELCH) {
            auto* slider = Named(new QSlider(Qt::Horizontal, box), r.control);
            slider->setTickPosition(QSlider::TicksBelow);
            slider->setTickInterval(1);
            slider->setPageStep(1);
            grid->addWidget(slider, row, 1);
            grid->addWidget(Named(new QLabel(box), r.secStatic), row, 2);
        } else {
            auto* list = Named(new QComboBox(box), r.control);
            list->setMinimumContentsLength(10);
            grid->addWidget(list, row, 1);
            if (r.timeEdit) {
                auto* edit = Named(new QLineEdit(box), r.timeEdit);
                edit->setMaximumWidth(90);
                grid->addWidget(edit, row, 2);
                grid->addWidget(Named(new QLabel(box), r.secStatic), row, 3);
            }
        }
        ++row;
    }
    grid->setColumnMinimumWidth(2, 90);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(row, 1);
    outer->addWidget(box);
}
