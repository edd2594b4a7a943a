#include "ui/CDialogModel.h"

namespace ui {

namespace {
const std::string kEmpty;
}

ControlState& CDialogModel::Control(int id) {
    return m_controls[id];
}

const ControlState* CDialogModel::FindControl(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

std::vector<int> CDialogModel::ControlIds() const {
    std::vector<int> ids;
    ids.reserve(m_controls.size());
    for (const auto& [id, state] : m_controls) ids.push_back(id);
    return ids;
}

void CDialogModel::SetText(int id, std::string text) {
    Control(id).text = std::move(text);
    Touch();
}

const std::string& CDialogModel::Text(int id) const {
    const ControlState* c = FindControl(id);
    return c ? c->text : kEmpty;
}

void CDialogModel::SetItems(int id, std::vector<std::string> items) {
    ControlState& c = Control(id);
    c.items = std::move(items);
    if (c.selection >= static_cast<int>(c.items.size())) c.selection = -1;
    Touch();
}

void CDialogModel::SetSelection(int id, int index) {
    ControlState& c = Control(id);
    if (index < 0 || index >= static_cast<int>(c.items.size())) {
        c.selection = -1;
    } else {
        c.selection = index;
        c.text = c.items[index];
    }
    Touch();
}

int CDialogModel::Selection(int id) const {
    const ControlState* c = FindControl(id);
    return c ? c->selection : -1;
}

int CDialogModel::SelectString(int id, const std::string& text) {
    ControlState& c = Control(id);
    int found = -1;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == text) {
            found = static_cast<int>(i);
            break;
        }
    }
    SetSelection(id, found);
    return found;
}

void CDialogModel::SetChecked(int id, bool checked) {
    Control(id).checked = checked;
    Touch();
}

bool CDialogModel::Checked(int id) const {
    const ControlState* c = FindControl(id);
    return c && c->checked;
}

void CDialogModel::Enable(int id, bool enabled) {
    Control(id).enabled = enabled;
    Touch();
}

bool CDialogModel::IsEnabled(int id) const {
    const ControlState* c = FindControl(id);
    return !c || c->enabled;
}

void CDialogModel::Show(int id, bool visible) {
    Control(id).visible = visible;
    Touch();
}

void CDialogModel::SetPosition(int id, int position) {
    Control(id).position = position;
    Touch();
}

void CDialogModel::SetImage(int id, int image) {
    Control(id).image = image;
    Touch();
}

void CDialogModel::SetTextFromUser(int id, const std::string& text) {
    ControlState& c = Control(id);
    if (c.text == text) return;
    c.text = text;
    Touch();
    Dispatch(Notify::EditChange, id);
}

void CDialogModel::SetSelectionFromUser(int id, int index) {
    const ControlState before = Control(id);
    SetSelection(id, index);
    const ControlState& now = Control(id);
    // Picking the entry the box already shows is a pick, not a change.
    const bool changed = now.selection != before.selection || now.text != before.text;
    Dispatch(Notify::Picked, id);
    if (changed) Dispatch(Notify::SelChange, id);
}

void CDialogModel::SetCheckedFromUser(int id, bool checked) {
    SetChecked(id, checked);
    Dispatch(Notify::Clicked, id);
}

void CDialogModel::SetPositionFromUser(int id, int position) {
    SetPosition(id, position);
    Dispatch(Notify::Scroll, id);
}

void CDialogModel::ClickFromUser(int id) {
    if (!IsEnabled(id)) return;
    if (Dispatch(Notify::Clicked, id)) return;
    // OK and Cancel keep their default meaning unless a handler took them.
    if (id == IDOK) {
        if (OnOK()) EndDialog(IDOK);
    } else if (id == IDCANCEL) {
        OnCancel();
        EndDialog(IDCANCEL);
    }
}

void CDialogModel::CancelFromUser() {
    if (!CanCancel()) return;
    if (Dispatch(Notify::Clicked, IDCANCEL)) return;
    OnCancel();
    EndDialog(IDCANCEL);
}

void CDialogModel::FocusFromUser(int id, bool gained) {
    Dispatch(gained ? Notify::SetFocus : Notify::KillFocus, id);
}

void CDialogModel::On(Notify what, int id, Handler handler) {
    m_handlers[{what, id}] = std::move(handler);
}

bool CDialogModel::Dispatch(Notify what, int id) {
    auto it = m_handlers.find({what, id});
    if (it == m_handlers.end() || !it->second) return false;
    // Copy: a handler may rebind itself.
    Handler h = it->second;
    h();
    Touch();
    return true;
}

void CDialogModel::SetTimer(int timerId, int intervalMs) {
    m_timers[timerId] = intervalMs;
    Touch();
}

void CDialogModel::KillTimer(int timerId) {
    m_timers.erase(timerId);
    Touch();
}

void CDialogModel::EndDialog(int result) {
    m_pendingEnd = result;
    Touch();
}

}  // namespace ui
