// "Channel F1" / "Channel F2": the receiver frequency above, the coding
// option and the twelve call rows below, laid out from the page's row table.
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/pages/CChannelPage.h"
#include "editor/ui/PageLayouts.h"

namespace {

template <typename W>
W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

QLineEdit* ToneEdit(int id, QWidget* parent) {
    auto* e = Named(new QLineEdit(parent), id);
    e->setFixedWidth(72);
    return e;
}

// Enter on a focused push button presses it, as Space does; elsewhere on
// the page Enter is the sheet's OK.
QPushButton* PickButton(int id, QWidget* parent) {
    auto* b = Named(new QPushButton("...", parent), id);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance("...") + 20);
    b->setAutoDefault(true);
    b->hide();
    return b;
}

QComboBox* List(int id, QWidget* parent) {
    auto* list = Named(new QComboBox(parent), id);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

// A call's label greys out while the coding option does not use the call
// (its fields are hidden); the row keeps its place and height, so the page
// does not change shape from one option to the next.
class RowLabelFollower : public QObject {
public:
    RowLabelFollower(QLabel* label, QWidget* field) : QObject(label), m_label(label) {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent) m_label->setEnabled(true);
        if (event->type() == QEvent::HideToParent) m_label->setEnabled(false);
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* m_label;
};

enum Column { kLabel, kTone1, kPick1, kTone2, kPick2, kCs, kAlert, kDuty };

}  // namespace

void LayoutChannelPage(QWidget* page, ui::CPropertyPage& model) {
    auto* channel = dynamic_cast<CChannelPage*>(&model);
    if (!channel) return;
    QPointer<QWidget> owner(page);
    channel->SetPickerRunner([owner](CToneTableDlg& picker) {
        return owner && RunToneTablePicker(picker, owner->window());
    });

    auto* outer = new QVBoxLayout(page);

    auto* rx = new QGroupBox("Receiver Frequency", page);
    auto* rxRow = new QHBoxLayout(rx);
    rxRow->addWidget(new QLabel(channel->FrequencyLabel(), rx));
    auto* frequency = Named(new QLineEdit(rx), channel->FrequencyId());
    frequency->setFixedWidth(90);
    rxRow->addWidget(frequency);
    rxRow->addWidget(new QLabel("MHz.", rx));
    rxRow->addSpacing(12);
    rxRow->addWidget(Named(new QLabel(rx), CChannelPage::IDC_BAND_SPLIT));
    rxRow->addStretch(1);
    outer->addWidget(rx);

    auto* calls = new QGroupBox("Call Tone", page);
    auto* callsBox = new QVBoxLayout(calls);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Coding Option:", calls));
    top->addWidget(List(channel->CodingOptionId(), calls));
    top->addSpacing(24);
    top->addWidget(new QLabel("ON/OFF Duty:", calls));
    auto* duty = Named(new QLineEdit(calls), channel->DutyTextId());
    duty->setReadOnly(true);
    duty->setFocusPolicy(Qt::ClickFocus);
    duty->setFixedWidth(80);
    top->addWidget(duty);
    top->addStretch(1);
    callsBox->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    const int headingColumns[] = {kTone1, kTone2, kCs, kAlert, kDuty};
    for (int i = 0; i < 5; ++i)
        grid->addWidget(new QLabel(CChannelPage::kHeadings[i], calls), 0, headingColumns[i]);
    int line = 1;
    for (const ChannelRow& row : CChannelPage::Rows()) {
        auto* label = new QLabel(row.label, calls);
        label->setMinimumWidth(label->sizeHint().width());
        grid->addWidget(label, line, kLabel);
        QLineEdit* tone1 = ToneEdit(row.tone1, calls);
        new RowLabelFollower(label, tone1);
        grid->addWidget(tone1, line, kTone1);
        grid->addWidget(PickButton(row.pick1, calls), line, kPick1);
        if (row.tone2) {
            grid->addWidget(ToneEdit(row.tone2, calls), line, kTone2);
            grid->addWidget(PickButton(row.pick2, calls), line, kPick2);
        }
        if (row.csLabel) {
            auto* cs = Named(new QLabel(calls), row.csLabel);
            cs->setMinimumWidth(56);
            grid->addWidget(cs, line, kCs);
        }
        QComboBox* alert = List(row.alert, calls);
        grid->addWidget(alert, line, kAlert);
        grid->addWidget(List(row.duty, calls), line, kDuty);
        grid->setRowMinimumHeight(
            line, std::max(tone1->sizeHint().height(), alert->sizeHint().height()));
        ++line;
    }
    grid->setColumnStretch(kDuty + 1, 1);
    callsBox->addLayout(grid);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* clear =
        Named(new QPushButton("Clear All Tones", calls), CChannelPage::IDC_CLEAR_ALL_TONES);
    clear->setAutoDefault(true);
    bottom->addWidget(clear);
    callsBox->addLayout(bottom);
    outer->addWidget(calls);
    outer->addStretch(1);
}
