#include "engineer/ui/EngineerLayouts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "engineer/EngineerIds.h"
#include "ui/qt/LayoutKit.h"

namespace engineer::layouts {

namespace {

using ui::qt::Button;
using ui::qt::Id;

// A text that brings its own line breaks: the label is as wide as the
// longest of its lines that can stand on one line (up to `mostChars`), so
// none of them breaks once more into a ragged pair; a longer line wraps at
// that width.
int LineKeepingWidth(const QLabel& label, int mostChars) {
    const QFontMetrics fm = label.fontMetrics();
    int width = 0;
    for (const QString& line : label.text().split('\n')) {
        const int w = fm.horizontalAdvance(line.trimmed());
        if (w <= fm.averageCharWidth() * mostChars) width = std::max(width, w);
    }
    return width;
}

// A drop-down box with an edit field that shows the stored code's name even
// where the list has no such entry; only a pick from the list changes data,
// so the field takes no typing.
QComboBox* CodeBox(int id, int minChars = 0) {
    auto* c = Id(new QComboBox, id);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setReadOnly(true);
    c->setMaxVisibleItems(16);
    if (minChars > 0) {
        c->setMinimumContentsLength(minChars);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    return c;
}

// One "Label: [box] unit" row of a grid.
void Row(QGridLayout* grid, int row, const char* label, QWidget* box, const char* unit = nullptr,
         int labelId = 0) {
    auto* l = new QLabel(QString::fromUtf8(label));
    if (labelId) Id(l, labelId);
    grid->addWidget(l, row, 0);
    grid->addWidget(box, row, 1);
    if (unit) grid->addWidget(new QLabel(unit), row, 2);
}

}  // namespace

ui::qt::CBoundDialog* EngineerLogon(CEngineerLogonDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    dlg->setObjectName("engineerLogon");
    auto* group = new QGroupBox(CEngineerLogonDlg::kGroupText);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(new QLabel(CEngineerLogonDlg::kLabelText));
    auto* password = Id(new QLineEdit, IDC_PASSWORD);
    password->setEchoMode(QLineEdit::Password);
    inner->addWidget(password);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button("OK", ui::IDOK, true));
    buttons->addWidget(Button("Cancel", ui::IDCANCEL));
    buttons->addStretch();

    auto* top = new QHBoxLayout(dlg);
    top->addWidget(group, 1);
    top->addLayout(buttons);
    return dlg;
}

ui::qt::CBoundDialog* EngineerData(CEngineerDataDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    dlg->setObjectName("engineerData");

    auto* modelGroup = new QGroupBox("Model Number Related");
    auto* m = new QGridLayout(modelGroup);
    Row(m, 0, "Radio Band:", CodeBox(IDC_RADIO_BAND));
    Row(m, 1, "Band Split:", CodeBox(IDC_BAND_SPLIT, 22));
    auto* sp = CodeBox(IDC_SP);
    sp->lineEdit()->setMaxLength(2);
    Row(m, 2, "SP:", sp);
    Row(m, 3, "Model:", CodeBox(IDC_MODEL));
    Row(m, 4, "Modulation:", CodeBox(IDC_MODULATION));
    Row(m, 5, "Coding:", CodeBox(IDC_CODING));
    Row(m, 6, "# Freq: ", CodeBox(IDC_FREQ_COUNT, 14));
    Row(m, 7, "Revision:", CodeBox(IDC_REVISION));
    Row(m, 8, "Battery:", CodeBox(IDC_BATTERY));
    m->setRowStretch(9, 1);

    auto* serialGroup = new QGroupBox("Serial Number Related");
    auto* s = new QGridLayout(serialGroup);
    Row(s, 0, "Warranty:", CodeBox(IDC_WARRANTY), nullptr, IDC_WARRANTY_LABEL);
    Row(s, 1, "MFG Site:", CodeBox(IDC_MFG_SITE, 12));
    Row(s, 2, "Build Year:", CodeBox(IDC_BUILD_YEAR));
    Row(s, 3, "Build Month:", CodeBox(IDC_BUILD_MONTH));
    Row(s, 4, "Unit Number:", Id(new QLineEdit, IDC_UNIT_NUMBER));
    s->setRowStretch(5, 1);

    auto* othersGroup = new QGroupBox("Others");
    auto* o = new QGridLayout(othersGroup);
    Row(o, 0, "X'tal:", CodeBox(IDC_XTAL), "MHz");
    Row(o, 1, "IF:", CodeBox(IDC_IF), "MHz");
    Row(o, 2, "CodePlug Version:", Id(new QLineEdit, IDC_PLUG_VERSION));
    Row(o, 3, "Stored Voice IC:", CodeBox(IDC_STORED_VOICE));
    o->setRowStretch(4, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(serialGroup);
    right->addWidget(othersGroup);

    auto* groups = new QHBoxLayout;
    groups->addWidget(modelGroup);
    groups->addLayout(right);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button("&Advanced", IDC_ADVANCED));
    buttons->addStretch();
    buttons->addWidget(Button("OK", ui::IDOK, true));
    buttons->addWidget(Button("Cancel", ui::IDCANCEL));

    auto* top = new QVBoxLayout(dlg);
    top->addLayout(groups);
    top->addLayout(buttons);
    return dlg;
}

ui::qt::CBoundDialog* AdvancedEngineer(CAdvancedEngineerDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    dlg->setObjectName("advancedEngineer");
    const auto groupBox = [](const CAdvancedEngineerDlg::Group& g) {
        auto* box = new QGroupBox(g.title);
        auto* grid = new QGridLayout(box);
        grid->setVerticalSpacing(2);
        int row = 0;
        for (const auto& p : g.params) {
            auto* edit = Id(new QLineEdit, p.id);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0000") + 16);
            edit->setAlignment(Qt::AlignRight);
            grid->addWidget(new QLabel(p.label), row, 0);
            grid->addWidget(edit, row, 1);
            grid->addWidget(new QLabel(p.rangeLabel), row, 2);
            ++row;
        }
        grid->setColumnStretch(2, 1);
        return box;
    };
    const auto groups = CAdvancedEngineerDlg::Groups();
    auto* left = new QVBoxLayout;
    left->addWidget(groupBox(groups[0]));
    left->addStretch();
    auto* right = new QVBoxLayout;
    for (std::size_t i = 1; i < groups.size(); ++i) right->addWidget(groupBox(groups[i]));
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button("Restore Default", IDC_RESTORE_DEFAULT));
    buttons->addStretch();
    buttons->addWidget(Button("OK", ui::IDOK, true));
    buttons->addWidget(Button("Cancel", ui::IDCANCEL));

    auto* top = new QVBoxLayout(dlg);
    top->addLayout(columns);
    top->addLayout(buttons);
    return dlg;
}

ui::qt::CBoundDialog* FalsingAlert(CFalsingAlertDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    dlg->setObjectName("falsingAlert");
    auto* slider = Id(new QSlider(Qt::Horizontal), IDC_FALSING_LEVEL);
    slider->setRange(0, CFalsingAlertDlg::kPresetCount - 1);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setPageStep(1);

    auto* levels = new QHBoxLayout;
    levels->addWidget(new QLabel("Default"), 0, Qt::AlignLeft);
    levels->addStretch();
    levels->addWidget(new QLabel("Level 1"), 0, Qt::AlignHCenter);
    levels->addStretch();
    levels->addWidget(new QLabel("Level 2"), 0, Qt::AlignRight);

    // Wrapped texts: the window takes the height they need for this width
    // when it is first shown.
    auto* text = new QLabel(CFalsingAlertDlg::kExplanation);
    text->setWordWrap(true);
    text->setMinimumWidth(std::max(text->fontMetrics().averageCharWidth() * 52,
                                   LineKeepingWidth(*text, 64) + 2));
    auto* note = Id(new QLabel, IDC_FALSING_NO_PRESET);
    note->setWordWrap(true);
    note->setStyleSheet("color: #8c1c1c;");

    auto* left = new QVBoxLayout;
    left->addLayout(levels);
    left->addWidget(slider);
    left->addSpacing(8);
    left->addWidget(text);
    left->addWidget(note);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button("OK", ui::IDOK, true));
    buttons->addWidget(Button("Cancel", ui::IDCANCEL));
    buttons->addStretch();

    auto* top = new QHBoxLayout(dlg);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    return dlg;
}

}  // namespace engineer::layouts
