#pragma once
// Widget layouts of the program's own dialogs over their models. Each widget
// that takes part has its control id as objectName.
#include "app/CCommStatusDlg.h"
#include "app/CSystemConfigDlg.h"
#include "app/CUsbDelayDlg.h"
#include "ui/qt/CBoundDialog.h"

namespace layouts {

ui::qt::CBoundDialog* CommStatus(CCommStatusDlg& model, QWidget* parent);
ui::qt::CBoundDialog* SystemConfig(CSystemConfigDlg& model, QWidget* parent);
ui::qt::CBoundDialog* UsbDelay(CUsbDelayDlg& model, QWidget* parent);
// The About box ("About Calvex V HXR"); plain, it has no model of its own.
QDialog* About(QWidget* parent);

}  // namespace layouts
