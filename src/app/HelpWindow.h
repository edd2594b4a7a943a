#pragma once
// The program's own help window: the user guide in a text browser, for when
// the desktop has no browser to open it in.
#include <QDialog>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // `guide` is the HTML file; "" when it could not be found.
    explicit HelpWindow(const QString& guide, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }
    // Shows the guide from its start and brings the window to the front.
    void ShowContents();

private:
    QString m_guide;
    QTextBrowser* m_browser;
};
