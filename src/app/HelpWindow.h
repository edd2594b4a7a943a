#pragma once
// The program's own help window: the user guide in a text browser, for when
// the desktop has no browser to open it in, and for help on a page of the
// User Data sheet. It has no parent window, so a modal dialog of the program
// does not block it: the guide can be read beside the dialog it explains.
#include <QDialog>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // `guide` is the HTML file; "" when it could not be found.
    explicit HelpWindow(const QString& guide);

    QTextBrowser* Browser() const { return m_browser; }
    // Shows the guide from its start and brings the window to the front.
    void ShowContents();
    // Shows the guide at a section (an anchor such as "channels").
    void ShowSection(const QString& anchor);

private:
    void ShowAt(const QString& anchor);

    QString m_guide;
    QTextBrowser* m_browser;
};
