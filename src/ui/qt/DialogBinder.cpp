#include "ui/qt/DialogBinder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <algorithm>

namespace ui::qt {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string S(const QString& s) {
    return s.toStdString();
}

std::vector<std::string> ComboItems(const QComboBox* c) {
    std::vector<std::string> items;
    for (int i = 0; i < c->count(); ++i) items.push_back(S(c->itemText(i)));
    return items;
}

std::vector<std::string> ListItems(const QListWidget* l) {
    std::vector<std::string> items;
    for (int i = 0; i < l->count(); ++i) items.push_back(S(l->item(i)->text()));
    return items;
}
}  // namespace

DialogBinder::DialogBinder(CDialogModel& model, QWidget* root)
    : QObject(root), m_model(model), m_root(root) {}

DialogBinder::~DialogBinder() = default;

int DialogBinder::ControlId(const QWidget* w) {
    bool ok = false;
    int id = w->objectName().toInt(&ok);
    return ok && id > 0 && id != IDC_STATIC ? id : 0;
}

QWidget* DialogBinder::Widget(int id) const {
    auto it = m_widgets.find(id);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

void DialogBinder::Bind() {
    if (!m_root) return;
    for (QWidget* w : m_root->findChildren<QWidget*>()) {
        int id = ControlId(w);
        // Combo boxes own a line edit child without an id; only id'd widgets count.
        if (id == 0 || m_widgets.count(id)) continue;
        m_widgets[id] = w;
        if (!m_model.HasControl(id)) PullInitial(id, w);
        Connect(id, w);
    }
    Push();
}

void DialogBinder::PullInitial(int id, QWidget* w) {
    ControlState& s = m_model.Control(id);
    s.enabled = w->isEnabled();
    s.visible = !w->isHidden();
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        s.text = S(e->text());
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        s.items = ComboItems(c);
        s.selection = c->currentIndex();
        s.text = S(c->currentText());
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        s.items = ListItems(l);
        s.selection = l->currentRow();
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        s.text = S(b->text());
        s.checked = b->isChecked();
    } else if (auto* p = qobject_cast<QProgressBar*>(w)) {
        s.rangeMin = p->minimum();
        s.rangeMax = p->maximum();
        s.position = p->value();
    } else if (auto* sl = qobject_cast<QSlider*>(w)) {
        s.rangeMin = sl->minimum();
        s.rangeMax = sl->maximum();
        s.position = sl->value();
    } else if (auto* lb = qobject_cast<QLabel*>(w)) {
        s.text = S(lb->text());
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        s.text = S(g->title());
    }
}

template <typename F>
void DialogBinder::FromUser(F&& f) {
    if (m_pushing || m_detached) return;
    f();
    Push();
}

void DialogBinder::Connect(int id, QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        connect(e, &QLineEdit::textEdited, this, [this, id](const QString& t) {
            FromUser([&] { m_model.SetTextFromUser(id, S(t)); });
        });
        w->installEventFilter(this);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        // `activated` is the user's pick, also of the entry already shown;
        // the model decides whether that counts as a change.
        connect(c, &QComboBox::activated, this, [this, id](int index) {
            FromUser([&] { m_model.SetSelectionFromUser(id, index); });
        });
        if (c->isEditable()) {
            connect(c, &QComboBox::editTextChanged, this, [this, id](const QString& t) {
                // The combo may be in the middle of a selection change: mirror
                // the model back once it has finished.
                if (m_pushing) return;
                m_model.SetTextFromUser(id, S(t));
                QMetaObject::invokeMethod(this, &DialogBinder::Push, Qt::QueuedConnection);
            });
        }
        w->installEventFilter(this);
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        connect(l, &QListWidget::currentRowChanged, this,
                [this, id](int row) { FromUser([&] { m_model.SetSelectionFromUser(id, row); }); });
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        connect(b, &QAbstractButton::clicked, this, [this, id, b](bool) {
            FromUser([&] {
                if (b->isCheckable()) {
                    // Auto-exclusive radio buttons change their siblings too.
                    PullChecks();
                    m_model.Dispatch(Notify::Clicked, id);
                } else {
                    m_model.ClickFromUser(id);
                }
            });
        });
    } else if (auto* sl = qobject_cast<QSlider*>(w)) {
        connect(sl, &QSlider::valueChanged, this,
                [this, id](int v) { FromUser([&] { m_model.SetPositionFromUser(id, v); }); });
    }
}

void DialogBinder::PullChecks() {
    for (auto& [id, w] : m_widgets) {
        auto* b = qobject_cast<QAbstractButton*>(w.data());
        if (b && b->isCheckable()) m_model.Control(id).checked = b->isChecked();
    }
}

bool DialogBinder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto* w = qobject_cast<QWidget*>(watched)) {
            int id = ControlId(w);
            if (id != 0 && !m_pushing && !m_detached) {
                bool gained = event->type() == QEvent::FocusIn;
                if (gained) {
                    FromUser([&] { m_model.FocusFromUser(id, true); });
                } else {
                    // The control has lost the focus (a line edit drops its
                    // selection) before the model hears of it, so a field
                    // that refuses its text takes the focus back with the
                    // text selected.
                    static_cast<QObject*>(w)->event(event);
                    FromUser([&] { m_model.FocusFromUser(id, false); });
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void DialogBinder::Push() {
    if (m_pushing) return;
    m_pushing = true;
    for (auto& [id, w] : m_widgets) {
        const ControlState* s = m_model.FindControl(id);
        if (w && s) PushOne(id, w, *s);
    }
    // A refused field takes the focus back, with its text selected, before
    // anything else can react to the move.
    if (int focus = m_model.PendingFocus()) {
        m_model.ClearPendingFocus();
        if (QWidget* w = Widget(focus); w && w->isVisible()) {
            w->setFocus(Qt::OtherFocusReason);
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        }
    }
    m_pushing = false;
    SyncTimers();
    if (int end = m_model.PendingEnd()) {
        m_model.ClearPendingEnd();
        emit endRequested(end);
    }
}

void DialogBinder::PushOne(int id, QWidget* w, const ControlState& s) {
    QSignalBlocker block(w);
    if (w->isEnabled() != s.enabled) w->setEnabled(s.enabled);
    if (w->isHidden() == s.visible) w->setVisible(s.visible);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        const QString text = Q(s.text);
        if (e->text() != text) {
            // A model that only recases what is being typed (same length)
            // must not throw the cursor to the end of the box.
            const bool keepCursor = e->hasFocus() && e->text().size() == text.size();
            const int cursor = e->cursorPosition();
            e->setText(text);
            if (keepCursor) e->setCursorPosition(cursor);
        }
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (ComboItems(c) != s.items) {
            c->clear();
            for (const auto& item : s.items) c->addItem(Q(item));
        }
        if (c->currentIndex() != s.selection) c->setCurrentIndex(s.selection);
        if (c->isEditable() && c->currentText() != Q(s.text)) c->setEditText(Q(s.text));
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        if (ListItems(l) != s.items) {
            l->clear();
            for (const auto& item : s.items) l->addItem(Q(item));
        }
        if (l->currentRow() != s.selection) l->setCurrentRow(s.selection);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (b->text() != Q(s.text)) b->setText(Q(s.text));
        if (b->isCheckable() && b->isChecked() != s.checked) b->setChecked(s.checked);
    } else if (auto* p = qobject_cast<QProgressBar*>(w)) {
        if (p->minimum() != s.rangeMin || p->maximum() != s.rangeMax)
            p->setRange(s.rangeMin, s.rangeMax);
        // Like the native control, a position outside the range pins to the end.
        p->setValue(std::clamp(s.position, s.rangeMin, s.rangeMax));
    } else if (auto* sl = qobject_cast<QSlider*>(w)) {
        if (sl->minimum() != s.rangeMin || sl->maximum() != s.rangeMax)
            sl->setRange(s.rangeMin, s.rangeMax);
        if (sl->value() != s.position) sl->setValue(s.position);
    } else if (auto* lb = qobject_cast<QLabel*>(w)) {
        if (s.image != 0 && m_images) {
            if (lb->property("calvexImage").toInt() != s.image) {
                lb->setPixmap(m_images(s.image));
                lb->setProperty("calvexImage", s.image);
            }
        } else if (lb->text() != Q(s.text)) {
            lb->setText(Q(s.text));
        }
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (g->title() != Q(s.text)) g->setTitle(Q(s.text));
    }
    (void)id;
}

void DialogBinder::SyncTimers() {
    const auto& wanted = m_model.Timers();
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (!wanted.count(it->first)) {
            it->second->stop();
            it->second->deleteLater();
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [timerId, interval] : wanted) {
        QTimer*& t = m_timers[timerId];
        if (!t) {
            t = new QTimer(this);
            int tid = timerId;
            connect(t, &QTimer::timeout, this, [this, tid] {
                // A tick queued before KillTimer must not reach the model.
                if (!m_model.Timers().count(tid)) return;
                m_model.OnTimer(tid);
                Push();
            });
        }
        if (t->interval() != interval || !t->isActive()) t->start(interval);
    }
}

}  // namespace ui::qt
