#include "app/EngineerCommands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/CMainFrame.h"
#include "app/CTarnixHXRDoc.h"
#include "app/CTarnixHXRView.h"
#include "app/CommandIds.h"
#include "engineer/ui/EngineerTools.h"

using namespace cmd;

namespace {

void AddEngineerMenu(CMainFrame& frame) {
    auto* menu = new QMenu("&Engineer", &frame);
    menu->setObjectName("engineerMenu");
    QAction* logon = frame.Action(ID_ENGINEER_LOGON);
    QAction* data = frame.Action(ID_ENGINEER_DATA);
    logon->setText("Engineer &Logon...");
    data->setText("Engineer &Data...");
    menu->addAction(logon);
    menu->addAction(data);
    // Between Tools and Help.
    QAction* before = nullptr;
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == "&Help") before = a;
    frame.menuBar()->insertMenu(before, menu);
    QObject::connect(menu, &QMenu::aboutToShow, &frame, &CMainFrame::UpdateCommandUI);
}

}  // namespace

EngineerTools* InstallEngineerTools(CMainFrame& frame, CTarnixHXRDoc& doc, ui::Prompt& prompt,
                                    bool engineerMenu) {
    CTarnixHXRView& view = frame.View();
    auto* tools = new EngineerTools(doc.Codeplug(), prompt, &frame, &view);
    tools->setObjectName("engineerTools");
    view.SetCommandHandler(ID_ENGINEER_LOGON, [tools] { tools->OnEngineerLogon(); });
    view.SetCommandHandler(ID_ENGINEER_DATA, [tools] { tools->OnEngineerData(); });
    view.SetCommandHandler(ID_FALSING_ALERT, [tools] { tools->OnFalsingAlert(); });
    // The flag enables Engineer Data and adds the report's advanced block.
    QObject::connect(tools, &EngineerTools::engineerChanged, &frame,
                     [&frame](bool) { frame.UpdateCommandUI(); });
    QObject::connect(tools, &EngineerTools::codeplugChanged, &doc,
                     [&doc] { doc.UpdateAllViews(); });
    if (engineerMenu) AddEngineerMenu(frame);
    return tools;
}
