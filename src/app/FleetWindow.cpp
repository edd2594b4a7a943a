#include "app/FleetWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/CTarnixHXRDoc.h"
#include "app/PagerLink.h"
#include "app/PagerLinkFleetLink.h"
#include "codeplug/CPagerData.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

const char* const kConnect = "Connect a pager to the programmer and press Write Next Pager (F7).";
const char* const kChoose =
    "Choose the roster with Browse...: a CSV file with a row of values for each pager.";

}  // namespace

FleetWindow::FleetWindow(CTarnixHXRDoc& doc, PagerLink& link, QWidget* parent)
    : QDialog(parent),
      m_doc(doc),
      m_link(link),
      m_fleetLink(std::make_unique<PagerLinkFleetLink>(link)),
      m_session(std::make_unique<FleetSession>()) {
    setObjectName("fleetWindow");
    setWindowTitle("Program Fleet");
    setModal(true);

    m_template = new QLabel;
    m_template->setObjectName("fleetTemplate");
    m_roster = new QLineEdit;
    m_roster->setObjectName("rosterPath");
    m_roster->setReadOnly(true);
    m_roster->setPlaceholderText("a CSV file with one row per pager");
    auto* browse = new QPushButton("&Browse...");
    browse->setObjectName("chooseRoster");
    browse->setAutoDefault(false);
    auto* rosterRow = new QHBoxLayout;
    rosterRow->addWidget(m_roster, 1);
    rosterRow->addWidget(browse);
    m_log = new QLabel("(beside the roster)");
    m_log->setObjectName("fleetLog");
    m_log->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_port = new QLabel;
    m_port->setObjectName("fleetPort");
    m_verify = new QCheckBox("&Verify each pager: read it back after the write and compare");
    m_verify->setObjectName("verify");
    m_verify->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow("Template:", m_template);
    form->addRow("Roster:", rosterRow);
    form->addRow("Log:", m_log);
    form->addRow("Port:", m_port);
    form->addRow(QString(), m_verify);

    m_problems = new QPlainTextEdit;
    m_problems->setObjectName("rosterProblems");
    m_problems->setReadOnly(true);
    m_problems->setMaximumHeight(110);
    m_problems->hide();

    m_table = new QTableWidget(0, 5);
    m_table->setObjectName("fleetRows");
    m_table->setHorizontalHeaderLabels({"Row", "Serial", "Label", "Values", "State"});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    QHeaderView* header = m_table->horizontalHeader();
    for (int c : {0, 1, 2}) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->setSectionResizeMode(4, QHeaderView::ResizeToContents);

    m_status = new QLabel(kChoose);
    m_status->setObjectName("fleetStatus");
    m_status->setWordWrap(true);
    m_busy = new QProgressBar;
    m_busy->setObjectName("fleetBusy");
    m_busy->setRange(0, 0);  // a pager takes as long as it takes
    m_busy->setTextVisible(false);
    m_busy->setMaximumWidth(120);
    m_busy->hide();
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_busy);

    m_writeNext = new QPushButton("Write Next Pager");
    m_writeNext->setObjectName("writeNextPager");
    m_writeNext->setShortcut(QKeySequence(Qt::Key_F7));
    m_writeNext->setAutoDefault(false);
    m_writeNext->setToolTip(
        "Read the pager in the programmer, write its row of the roster and log it (F7)");
    m_close = new QPushButton("Close");
    m_close->setObjectName("closeFleet");
    m_close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_writeNext);
    buttons->addStretch(1);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problems);
    layout->addWidget(m_table, 1);
    layout->addLayout(statusRow);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &FleetWindow::OnBrowse);
    connect(m_writeNext, &QPushButton::clicked, this, &FleetWindow::OnWriteNext);
    connect(m_close, &QPushButton::clicked, this, &FleetWindow::close);
    resize(820, 540);
    UpdateButtons();
}

FleetWindow::~FleetWindow() {
    // Only the program's end takes the window away in the middle of a pager.
    if (m_worker.joinable()) {
        m_link.EndWaits();
        m_worker.join();
    }
}

void FleetWindow::Open() {
    ShowTemplate();
    m_port->setText(Q(m_link.PortName()) + "   (Tools > System Setup chooses the port)");
    // The template may have changed since: a roster chosen before is checked again.
    if (!m_roster->text().isEmpty()) LoadRoster(m_roster->text());
    UpdateButtons();
    show();
    raise();
    activateWindow();
    if (m_roster->text().isEmpty()) findChild<QPushButton*>("chooseRoster")->setFocus();
}

void FleetWindow::ShowTemplate() {
    const CodeplugContext saved = CodeplugContext::Get();
    CPagerData d;
    d.Decode(m_doc.Codeplug());
    CodeplugContext::Get() = saved;
    m_template->setText(m_doc.GetTitle() + "  (" + Q(d.model.ModelText()) +
                        ", codeplug version " + Q(d.version.PlugVersionText()) + ")");
    m_template->setToolTip(m_doc.GetPathName().isEmpty()
                               ? "The codeplug read from a pager"
                               : QDir::toNativeSeparators(m_doc.GetPathName()));
}

bool FleetWindow::LoadRoster(const QString& path) {
    m_session = std::make_unique<FleetSession>();
    m_ready = false;
    m_roster->setText(QDir::toNativeSeparators(path));
    m_log->setText("(beside the roster)");
    bool ok = m_session->Load(m_doc.Codeplug(), QDir::fromNativeSeparators(path).toStdString());
    QStringList lines;
    if (!ok) {
        lines << "The roster is refused, and no pager will be written. Mend it and choose it "
                 "again:";
        for (const std::string& p : m_session->Problems()) lines << "  - " + Q(p);
    }
    for (const std::string& n : m_session->Notes()) lines << "Note: " + Q(n);
    if (ok) {
        std::string error;
        const std::string log = FleetSession::DefaultLogPath(QDir::fromNativeSeparators(path).toStdString());
        if (m_session->OpenLog(log, error)) {
            m_log->setText(QDir::toNativeSeparators(Q(m_session->LogPath())));
        } else {
            ok = false;
            lines << Q(error);
        }
    }
    m_problems->setPlainText(lines.join('\n'));
    m_problems->setVisible(!lines.isEmpty());
    m_ready = ok;
    m_table->clearSelection();
    FillTable();
    if (!ok)
        SetStatus("The roster is refused; no pager will be written.");
    else if (m_session->AllDone())
        SetStatus("Every row of the roster is done (see the log).");
    else
        SetStatus(kConnect);
    UpdateButtons();
    return ok;
}

QString FleetWindow::StateText(const FleetRow& row) {
    return Q(row.StateText());
}

void FleetWindow::FillTable() {
    const auto& rows = m_session->Rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const FleetRow& row = rows[static_cast<std::size_t>(r)];
        const QString serial = Q(row.roster.serial.empty() ? row.serial : row.roster.serial);
        const QString values = Q(Roster::ValuesText(row.roster));
        // A refused roster's rows are never written.
        const QString state = m_ready ? StateText(row) : QString("-");
        const QString cells[] = {QString::number(row.roster.row), serial, Q(row.roster.label),
                                 values, state};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            m_table->setItem(r, c, item);
        }
        QColor colour = palette().color(QPalette::Text);
        if (row.state == FleetRowState::Failed) colour = QColor(0xB0, 0x00, 0x00);
        if (row.state == FleetRowState::Written || row.state == FleetRowState::Verified)
            colour = QColor(0x00, 0x70, 0x20);
        if (row.state == FleetRowState::Skipped) colour = palette().color(QPalette::PlaceholderText);
        m_table->item(r, 4)->setForeground(colour);
    }
}

void FleetWindow::UpdateButtons() {
    const bool busy = Busy();
    m_writeNext->setEnabled(m_ready && !busy && !m_session->AllDone());
    m_close->setEnabled(!busy);
    m_verify->setEnabled(!busy);
    findChild<QPushButton*>("chooseRoster")->setEnabled(!busy);
}

void FleetWindow::SetStatus(const QString& text, const QString& detail) {
    m_status->setText(text);
    m_status->setToolTip(detail.isEmpty() ? text : detail);
}

void FleetWindow::OnBrowse() {
    if (Busy() || !m_chooseRoster) return;
    const QString path = m_chooseRoster();
    if (!path.isEmpty()) LoadRoster(path);
}

void FleetWindow::OnWriteNext() {
    if (!m_ready || Busy() || m_session->AllDone()) return;
    // The worker decodes codeplugs (which sets the program's context) and
    // writes as a dealer does: each pager keeps its own serial number, even
    // when the engineer is logged on.
    m_savedContext = CodeplugContext::Get();
    CodeplugContext::Get().engineer = false;
    const bool verify = m_verify->isChecked();
    QPointer<FleetWindow> self(this);
    FleetSession* session = m_session.get();
    FleetLink* link = m_fleetLink.get();
    m_worker = std::thread([self, session, link, verify] {
        const FleetAttempt attempt =
            session->ProgramNext(*link, verify, [self](int row, const std::string& what) {
                QMetaObject::invokeMethod(
                    qApp,
                    [self, row, text = Q(what)] {
                        if (self) self->OnProgress(row, text);
                    },
                    Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            qApp,
            [self, attempt] {
                if (self) self->OnFinished(attempt);
            },
            Qt::QueuedConnection);
    });
    m_busy->show();
    SetStatus("Reading the pager ...");
    UpdateButtons();
}

void FleetWindow::OnProgress(int row, const QString& what) {
    SetStatus(what + " ...");
    if (row < 0) return;
    m_table->selectRow(row);
    m_table->scrollToItem(m_table->item(row, 0));
    m_table->item(row, 4)->setText(what.section(' ', 0, 0) + " ...");
}

void FleetWindow::OnFinished(const FleetAttempt& attempt) {
    if (m_worker.joinable()) m_worker.join();
    CodeplugContext::Get() = m_savedContext;
    m_busy->hide();
    FillTable();
    QString detail = Q(attempt.message);
    if (!attempt.backup.empty())
        detail += "\nWhat the pager held before is kept in " +
                  QDir::toNativeSeparators(Q(attempt.backup));
    if (!attempt.differences.empty()) detail += "\nWritten -> read back:";
    for (const std::string& d : attempt.differences) detail += "\n  " + Q(d);
    QString next = m_session->AllDone() ? "Every row of the roster is done."
                                        : "Connect the next pager and press Write Next Pager (F7).";
    if (attempt.logFailed) {
        // Nothing more is written that could not be recorded.
        m_ready = false;
        next = "The log could not be written (" + Q(m_session->LogError()) +
               "); no further pager is written.";
        m_problems->setPlainText(next);
        m_problems->show();
    }
    SetStatus(Q(attempt.message) + " " + next, detail);
    UpdateButtons();
    (m_writeNext->isEnabled() ? m_writeNext : m_close)->setFocus();
}

void FleetWindow::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        SetStatus("A pager is being programmed: wait until it is done.");
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FleetWindow::reject() {
    if (Busy()) {
        SetStatus("A pager is being programmed: wait until it is done.");
        return;
    }
    QDialog::reject();
}
