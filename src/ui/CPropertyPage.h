#pragma once
// One page of a property sheet. The page's members are moved to and from its
// controls by DoDataExchange; leaving the page (or OK) saves and validates
// them, and a refusal keeps the page in front.
#include <string>

#include "ui/CDialogModel.h"
#include "ui/DataExchange.h"

namespace ui {

class CPropertyPage : public CDialogModel {
public:
    using CDialogModel::CDialogModel;

    // Members -> controls (false) or controls -> members with the checks
    // (true). False when a check refused a field; its message has been shown
    // and the field asked for the focus.
    bool UpdateData(bool saveAndValidate = true);

    // The page's controls exist from the first activation of a run until the
    // sheet closes. The sheet calls these.
    bool Created() const { return m_created; }
    void Create();   // OnInitDialog, once per run
    void Destroy();  // the run is over
    // Brought to the front: refreshes controls from the members (after the
    // first time) and returns true.
    virtual bool OnSetActive();
    // Leaving the page: false keeps it in front. The default saves and
    // validates the fields.
    virtual bool OnKillActive();
    // OK of the sheet, for every page whose controls exist.
    bool OnOK() override { return true; }

    void OnInitDialog() override { UpdateData(false); }

protected:
    virtual void DoDataExchange(DataExchange& dx) {}

private:
    bool m_created = false;
    bool m_firstActive = true;
};

}  // namespace ui
