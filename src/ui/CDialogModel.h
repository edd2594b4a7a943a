#pragma once
// Base of every dialog and property page model: the state of each control by
// id, the handlers bound to control notifications (the message map), and the
// dialog's life-cycle hooks. A binder mirrors the state onto real widgets and
// feeds user input back through the Set...FromUser calls.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/ControlState.h"
#include "ui/Notify.h"

namespace ui {

class Prompt;

class CDialogModel {
public:
    using Handler = std::function<void()>;

    explicit CDialogModel(int resourceId = 0, std::string caption = {})
        : m_resourceId(resourceId), m_caption(std::move(caption)) {}
    virtual ~CDialogModel() = default;
    CDialogModel(const CDialogModel&) = delete;
    CDialogModel& operator=(const CDialogModel&) = delete;

    int ResourceId() const { return m_resourceId; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption) { m_caption = std::move(caption); }

    // Control state. Control() creates the record on first use.
    ControlState& Control(int id);
    const ControlState* FindControl(int id) const;
    std::vector<int> ControlIds() const;
    bool HasControl(int id) const { return FindControl(id) != nullptr; }

    // Convenience accessors used by models and tests.
    void SetText(int id, std::string text);
    const std::string& Text(int id) const;
    void SetItems(int id, std::vector<std::string> items);
    // Selects the entry; -1 (or out of range) clears the selection.
    void SetSelection(int id, int index);
    int Selection(int id) const;
    // Selects the first entry equal to text; returns its index or -1.
    int SelectString(int id, const std::string& text);
    void SetChecked(int id, bool checked);
    bool Checked(int id) const;
    void Enable(int id, bool enabled);
    bool IsEnabled(int id) const;
    void Show(int id, bool visible);
    void SetPosition(int id, int position);
    void SetImage(int id, int image);

    // User input, as the binder (or a test) reports it. Each updates the state
    // first, then runs the bound handler. A pick runs the Picked handler every
    // time and the SelChange handler only when the box then shows another
    // entry (or its edit field held other text).
    void SetTextFromUser(int id, const std::string& text);
    void SetSelectionFromUser(int id, int index);
    void SetCheckedFromUser(int id, bool checked);
    void SetPositionFromUser(int id, int position);
    void ClickFromUser(int id);
    void FocusFromUser(int id, bool gained);
    // Escape key or the close box: cancels unless CanCancel() says no.
    void CancelFromUser();

    // Message map: bind a handler to a control's notification.
    void On(Notify what, int id, Handler handler);
    // Runs the handler bound to (what, id); returns false when none is bound.
    bool Dispatch(Notify what, int id);

    // Life cycle, called by the dialog runner.
    virtual void OnInitDialog() {}
    // Returns true when the dialog may close with OK.
    virtual bool OnOK() { return true; }
    virtual void OnCancel() {}
    // False while Escape and the close box must not end the dialog.
    virtual bool CanCancel() const { return true; }
    // Timers: the runner calls OnTimer(id) every interval while the timer runs.
    virtual void OnTimer(int timerId) {}
    void SetTimer(int timerId, int intervalMs);
    void KillTimer(int timerId);
    // Running timers: id -> interval.
    const std::map<int, int>& Timers() const { return m_timers; }

    // Asks the runner to end the dialog with IDOK or IDCANCEL.
    void EndDialog(int result);
    // The pending end request, 0 when none. The runner clears it when it acts.
    int PendingEnd() const { return m_pendingEnd; }
    void ClearPendingEnd() { m_pendingEnd = 0; }

    // Asks the runner to move the keyboard focus to a control (and select an
    // edit's text), as a refused field does.
    void RequestFocus(int id) {
        m_focusRequest = id;
        Touch();
    }
    int PendingFocus() const { return m_focusRequest; }
    void ClearPendingFocus() { m_focusRequest = 0; }

    // Bumped on every change the widgets must mirror.
    unsigned Revision() const { return m_revision; }
    void Touch() { ++m_revision; }

    // Where the dialog's message boxes go (may be null in a model without any).
    void SetPrompt(Prompt* prompt) { m_prompt = prompt; }
    Prompt* GetPrompt() const { return m_prompt; }

private:
    int m_resourceId;
    std::string m_caption;
    std::map<int, ControlState> m_controls;
    std::map<std::pair<Notify, int>, Handler> m_handlers;
    std::map<int, int> m_timers;
    int m_pendingEnd = 0;
    int m_focusRequest = 0;
    unsigned m_revision = 0;
    Prompt* m_prompt = nullptr;
};

}  // namespace ui
