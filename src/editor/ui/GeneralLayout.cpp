// "General": three group boxes of read-only fields and the tone system list.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editor/pages/CGeneral.h"
#include "editor/ui/PageLayouts.h"

namespace {

QLineEdit* ReadOnly(int id, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::number(id));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    e->setMinimumWidth(200);
    e->setMaximumWidth(240);
    return e;
}

void Row(QGridLayout* grid, int row, const char* label, int id, const char* unit, QWidget* box) {
    grid->addWidget(new QLabel(label, box), row, 0, Qt::AlignRight);
    grid->addWidget(ReadOnly(id, box), row, 1);
    if (unit) grid->addWidget(new QLabel(unit, box), row, 2);
}

}  // namespace

void LayoutGeneralPage(QWidget* page, ui::CPropertyPage&) {
    auto* outer = new QVBoxLayout(page);

    auto* info = new QGroupBox("Pager Information", page);
    auto* g = new QGridLayout(info);
    Row(g, 0, "Model:", CGeneral::IDC_MODEL, nullptr, info);
    Row(g, 1, "Serial:", CGeneral::IDC_SERIAL, nullptr, info);
    Row(g, 2, "Band Split:", CGeneral::IDC_BAND_SPLIT, nullptr, info);
    Row(g, 3, "X'TAL:", CGeneral::IDC_XTAL, "MHz", info);
    Row(g, 4, "IF:", CGeneral::IDC_IF, "MHz", info);
    Row(g, 5, "Injection:", CGeneral::IDC_INJECTION, nullptr, info);
    g->setColumnStretch(3, 1);
    outer->addWidget(info);

    auto* rev = new QGroupBox("Revision", page);
    auto* r = new QGridLayout(rev);
    Row(r, 0, "Codeplug Version:", CGeneral::IDC_PLUG_VERSION, nullptr, rev);
    Row(r, 1, "Pager Firmware Version:", CGeneral::IDC_PAGER_VERSION, nullptr, rev);
    r->setColumnStretch(3, 1);
    outer->addWidget(rev);

    auto* sys = new QGroupBox("Tone System", page);
    auto* s = new QGridLayout(sys);
    s->addWidget(new QLabel("Tone System:", sys), 0, 0, Qt::AlignRight);
    auto* list = new QComboBox(sys);
    list->setObjectName(QString::number(CGeneral::IDC_TONE_SYSTEM));
    list->setMinimumWidth(200);
    s->addWidget(list, 0, 1);
    s->setColumnStretch(2, 1);
    outer->addWidget(sys);
    outer->addStretch(1);
}
