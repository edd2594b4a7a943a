#pragma once
// Qt layouts of the User Data pages and the tone pickers. Each builds the
// widgets of one page into `page` (objectName = control id); the models do
// the rest through the binder.
class QWidget;
class CToneTableDlg;
namespace ui {
class CPropertyPage;
}

void LayoutGeneralPage(QWidget* page, ui::CPropertyPage& model);
void LayoutChannelPage(QWidget* page, ui::CPropertyPage& model);
void LayoutModelOptionPage(QWidget* page, ui::CPropertyPage& model);
void LayoutFunctionSwitchPage(QWidget* page, ui::CPropertyPage& model);

// Shows the picker modally over `parent`; true when it was closed with OK.
bool RunToneTablePicker(CToneTableDlg& picker, QWidget* parent);
