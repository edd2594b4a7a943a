#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>

#include "gui/AppFixture.h"
#include "gui/PickEntry.h"
#include "ui/qt/CBoundDialog.h"

namespace {

// An edit that refuses text longer than 3 characters when it loses the
// focus, two radio buttons, a check box that hides the list, a slider and
// a list.
class Editor : public ui::CDialogModel {
public:
    Editor() : CDialogModel(300, "Editor") {
        On(ui::Notify::KillFocus, 10, [this] {
            if (Text(10).size() > 3) SetText(10, m_last);
            m_last = Text(10);
        });
        On(ui::Notify::Clicked, 12, [this] { Show(14, !Checked(12)); });
        On(ui::Notify::Scroll, 13, [this] { SetText(10, std::to_string(Control(13).position)); });
        On(ui::Notify::SelChange, 14, [this] { ++picks; });
        On(ui::Notify::Picked, 16, [this] { ++boxPicks; });
        On(ui::Notify::SelChange, 16, [this] { ++boxChanges; });
    }
    void OnInitDialog() override {
        SetText(10, "ab");
        m_last = "ab";
        SetChecked(11, true);
        SetItems(14, {"x", "y"});
        SetItems(16, {"p", "q", "r"});
        SetSelection(16, 1);
        Control(13).rangeMax = 20;
    }
    int picks = 0, boxPicks = 0, boxChanges = 0;

private:
    std::string m_last;
};

QWidget* Named(QWidget* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

TEST(DialogBinder, RoutesUserInputAndMirrorsTheModel) {
    Editor model;
    ui::qt::CBoundDialog dlg(model);
    auto* layout = new QVBoxLayout(&dlg);
    auto* edit = static_cast<QLineEdit*>(Named(new QLineEdit, 10));
    auto* radioA = static_cast<QRadioButton*>(Named(new QRadioButton("A"), 11));
    auto* radioB = static_cast<QRadioButton*>(Named(new QRadioButton("B"), 15));
    auto* hide = static_cast<QCheckBox*>(Named(new QCheckBox("hide"), 12));
    auto* slider = static_cast<QSlider*>(Named(new QSlider(Qt::Horizontal), 13));
    auto* list = static_cast<QListWidget*>(Named(new QListWidget, 14));
    auto* box = static_cast<QComboBox*>(Named(new QComboBox, 16));
    auto* other = new QLineEdit;  // no id: not bound
    for (QWidget* w : std::initializer_list<QWidget*>{edit, radioA, radioB, hide, slider, list, box,
                                                      other, Named(new QPushButton("OK"), 1)})
        layout->addWidget(w);
    dlg.ShowModal();
    ASSERT_TRUE(WaitFor([&] { return dlg.isVisible(); }));
    QApplication::setActiveWindow(&dlg);

    EXPECT_EQ(edit->text(), "ab");
    EXPECT_TRUE(radioA->isChecked());
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(slider->maximum(), 20);

    // Typing reaches the model; leaving the field runs the check that
    // restores the earlier value.
    edit->setFocus();
    ASSERT_TRUE(WaitFor([&] { return edit->hasFocus(); }, 5000));
    QTest::keyClicks(edit, "cdef");
    EXPECT_EQ(model.Text(10), "abcdef");
    other->setFocus();
    ASSERT_TRUE(WaitFor([&] { return other->hasFocus(); }, 5000));
    EXPECT_EQ(edit->text(), "ab");

    // Radio buttons change their neighbour in the model too. Buttons take
    // clicks only on their box and label, hence the point at the left.
    QTest::mouseClick(radioB, Qt::LeftButton, {}, QPoint(6, radioB->height() / 2));
    EXPECT_TRUE(model.Checked(15));
    EXPECT_FALSE(model.Checked(11));

    QTest::mouseClick(hide, Qt::LeftButton, {}, QPoint(6, hide->height() / 2));
    EXPECT_TRUE(list->isHidden());
    QTest::mouseClick(hide, Qt::LeftButton, {}, QPoint(6, hide->height() / 2));
    EXPECT_FALSE(list->isHidden());

    slider->setValue(7);
    EXPECT_EQ(edit->text(), "7");
    list->setCurrentRow(1);
    EXPECT_EQ(model.picks, 1);
    EXPECT_EQ(model.Selection(14), 1);

    // A pick of the entry shown is a pick but no change; another entry is both.
    ASSERT_EQ(box->currentIndex(), 1);
    PickEntry(box, 1);
    EXPECT_EQ(model.boxPicks, 1);
    EXPECT_EQ(model.boxChanges, 0);
    PickEntry(box, 2);
    EXPECT_EQ(model.boxPicks, 2);
    EXPECT_EQ(model.boxChanges, 1);
    EXPECT_EQ(model.Text(16), "r");

    // A model change outside any notification shows after Sync.
    model.Enable(14, false);
    dlg.Sync();
    EXPECT_FALSE(list->isEnabled());

    QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

}  // namespace
