// "Function Switches": the four positions stacked from "SW-A" to "SW-D";
// in each, from left to right, the Wide Band box, the Mode list, the Alert
// Type list, and "Enable ON/OFF Duty" over "Push To Listen".
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editor/pages/CFunctionSwitch.h"
#include "editor/ui/PageLayouts.h"

namespace {

template <typename W>
W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

// A list with an edit field: typed text never becomes a new entry.
QWidget* LabelledList(const char* label, int id, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(new QLabel(label, column));
    auto* list = Named(new QComboBox(column), id);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMinimumContentsLength(16);
    v->addWidget(list);
    return column;
}

}  // namespace

void LayoutFunctionSwitchPage(QWidget* page, ui::CPropertyPage&) {
    auto* outer = new QVBoxLayout(page);
    for (const CFunctionSwitch::PositionIds& ids : CFunctionSwitch::kPositionIds) {
        auto* box = new QGroupBox(ids.title, page);
        auto* row = new QHBoxLayout(box);
        row->addWidget(Named(new QCheckBox(CFunctionSwitch::kWideBand, box), ids.wideBand));
        row->addSpacing(8);
        row->addWidget(LabelledList("Mode:", ids.mode, box), 1);
        row->addWidget(LabelledList("Alert Type:", ids.alertType, box), 1);
        row->addSpacing(8);
        auto* boxes = new QVBoxLayout;
        boxes->addWidget(Named(new QCheckBox(CFunctionSwitch::kDuty, box), ids.duty));
        boxes->addWidget(
            Named(new QCheckBox(CFunctionSwitch::kPushToListen, box), ids.pushToListen));
        row->addLayout(boxes);
        outer->addWidget(box);
    }
    outer->addStretch(1);
}
