#pragma once
// The Program Fleet window: the current codeplug as the template, a roster
// with each row's state, the port, and one "Write Next Pager" button (F7).
// The checks, the writes with their backups, the verify and the log are the
// fleet session's, as `calvex fleet` runs them; each pager's transfers run on
// a worker thread so the window keeps answering.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <thread>

#include "codeplug/CodeplugContext.h"
#include "fleet/FleetSession.h"

class CTarnixHXRDoc;
class PagerLink;
class PagerLinkFleetLink;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

class FleetWindow : public QDialog {
    Q_OBJECT
public:
    FleetWindow(CTarnixHXRDoc& doc, PagerLink& link, QWidget* parent = nullptr);
    ~FleetWindow() override;

    // Where Browse... asks for the roster; returns "" when cancelled.
    void SetRosterChooser(std::function<QString()> choose) { m_chooseRoster = std::move(choose); }

    // Shows the window (modal) with the current codeplug as the template.
    void Open();
    // Reads and checks a roster, and opens its log beside it; false when it
    // was refused (the reasons are listed in the window).
    bool LoadRoster(const QString& path);
    // True while a pager is being programmed.
    bool Busy() const { return m_worker.joinable(); }
    const FleetSession& Session() const { return *m_session; }

    // Texts in Rows() order, for the table's State column.
    static QString StateText(const FleetRow& row);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void OnBrowse();
    void OnWriteNext();
    void OnProgress(int row, const QString& what);
    void OnFinished(const FleetAttempt& attempt);
    void ShowTemplate();
    void FillTable();
    void UpdateButtons();
    void SetStatus(const QString& text, const QString& detail = {});

    CTarnixHXRDoc& m_doc;
    PagerLink& m_link;
    std::unique_ptr<PagerLinkFleetLink> m_fleetLink;
    std::unique_ptr<FleetSession> m_session;
    bool m_ready = false;  // a roster was accepted and its log opened
    std::function<QString()> m_chooseRoster;
    std::thread m_worker;
    // What the program held before a run: the worker decodes codeplugs and
    // writes outside engineer mode.
    CodeplugContext m_savedContext;

    QLabel* m_template;
    QLineEdit* m_roster;
    QLabel* m_log;
    QLabel* m_port;
    QCheckBox* m_verify;
    QPlainTextEdit* m_problems;
    QTableWidget* m_table;
    QLabel* m_status;
    QProgressBar* m_busy;
    QPushButton* m_writeNext;
    QPushButton* m_close;
};
