#pragma once
// Widget layouts of the engineer dialogs over their models; each widget that
// takes part has its control id as objectName.
#include "engineer/CAdvancedEngineerDlg.h"
#include "engineer/CEngineerDataDlg.h"
#include "engineer/CEngineerLogonDlg.h"
#include "engineer/CFalsingAlertDlg.h"
#include "ui/qt/CBoundDialog.h"

namespace engineer::layouts {

ui::qt::CBoundDialog* EngineerLogon(CEngineerLogonDlg& model, QWidget* parent);
ui::qt::CBoundDialog* EngineerData(CEngineerDataDlg& model, QWidget* parent);
ui::qt::CBoundDialog* AdvancedEngineer(CAdvancedEngineerDlg& model, QWidget* parent);
ui::qt::CBoundDialog* FalsingAlert(CFalsingAlertDlg& model, QWidget* parent);

}  // namespace engineer::layouts
