#pragma once
// Mirrors a dialog model onto the widgets under a root widget. A widget takes
// part when its objectName is a control id in decimal ("1129"); user input on
// it goes to the model, and Push() copies the model's state back.
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <map>

#include "ui/CDialogModel.h"

class QTimer;
class QWidget;

namespace ui::qt {

class DialogBinder : public QObject {
    Q_OBJECT
public:
    using ImageProvider = std::function<QPixmap(int)>;

    DialogBinder(CDialogModel& model, QWidget* root);
    ~DialogBinder() override;

    void SetImageProvider(ImageProvider provider) { m_images = std::move(provider); }

    // Finds the id'd widgets and connects them. Controls the model does not
    // know yet take their initial state from the widget.
    void Bind();
    // Model -> widgets: texts, lists, selections, flags, timers, end requests.
    void Push();
    // The widget bound to a control id, or null.
    QWidget* Widget(int id) const;
    CDialogModel& Model() { return m_model; }

    static int ControlId(const QWidget* w);

    // Stops passing user input to the model for good (the window is closing
    // or going away while the model lives on).
    void Detach() { m_detached = true; }
    bool Detached() const { return m_detached; }

signals:
    // The model asked to end the dialog with IDOK or IDCANCEL.
    void endRequested(int result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Connect(int id, QWidget* w);
    void PullInitial(int id, QWidget* w);
    void PushOne(int id, QWidget* w, const ControlState& s);
    void PullChecks();
    void SyncTimers();
    template <typename F>
    void FromUser(F&& f);

    CDialogModel& m_model;
    QPointer<QWidget> m_root;
    std::map<int, QPointer<QWidget>> m_widgets;
    std::map<int, QTimer*> m_timers;
    ImageProvider m_images;
    bool m_pushing = false;
    bool m_detached = false;
};

}  // namespace ui::qt
