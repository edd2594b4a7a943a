#include "editor/ui/UserDataWindow.h"

#include <QPointer>

#include "editor/pages/CUserData.h"
#include "editor/ui/PageLayouts.h"

ui::qt::CBoundSheet* MakeUserDataWindow(CUserData& sheet, QWidget* parent) {
    auto* w = new ui::qt::CBoundSheet(sheet, parent);
    w->setObjectName("userData");
    w->SetPageLayout(CGeneral::IDD, LayoutGeneralPage);
    w->SetPageLayout(CChannel1::IDD, LayoutChannelPage);
    w->SetPageLayout(CChannel2::IDD, LayoutChannelPage);
    w->SetPageLayout(CModelOption::IDD, LayoutModelOptionPage);
    w->SetPageLayout(CFunctionSwitch::IDD, LayoutFunctionSwitchPage);
    QPointer<ui::qt::CBoundSheet> owner(w);
    auto picker = [owner](CToneTableDlg& dlg) {
        return RunToneTablePicker(dlg, owner ? static_cast<QWidget*>(owner) : nullptr);
    };
    sheet.channel1.SetPickerRunner(picker);
    sheet.channel2.SetPickerRunner(picker);
    return w;
}

const char* UserDataHelpAnchor(int pageResourceId) {
    switch (pageResourceId) {
        case CGeneral::IDD:
            return "general";
        case CChannel1::IDD:
        case CChannel2::IDD:
            return "channels";
        case CModelOption::IDD:
            return "options";
        case CFunctionSwitch::IDD:
            return "switches";
    }
    return "userdata";
}
