#include "app/HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/qt/ScreenFit.h"

HelpWindow::HelpWindow(const QString& guide) : QDialog(nullptr), m_guide(guide) {
    setObjectName("helpWindow");
    // Left open, it does not keep the program running after the main window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle("Calvex V HXR Help");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setModal(false);

    m_browser = new QTextBrowser;
    m_browser->setObjectName("helpBrowser");
    // Links to the web leave the program; links inside the guide stay here.
    m_browser->setOpenExternalLinks(true);

    auto* back = new QPushButton("&Back");
    back->setObjectName("helpBack");
    back->setEnabled(false);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    auto* contents = new QPushButton("&Contents");
    contents->setObjectName("helpContents");
    connect(contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
    auto* close = new QPushButton("Close");
    close->setObjectName("helpClose");
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* top = new QVBoxLayout(this);
    top->addWidget(m_browser, 1);
    top->addLayout(buttons);
    // Wide enough for the guide's pictures of the pages, so it reads without
    // scrolling sideways, where the screen has room for that.
    resize(ui::qt::FitToScreen(this, QSize(800, 600)));
}

void HelpWindow::ShowContents() {
    ShowAt(QString());
}

void HelpWindow::ShowSection(const QString& anchor) {
    ShowAt(anchor);
}

void HelpWindow::ShowAt(const QString& anchor) {
    if (m_guide.isEmpty()) {
        m_browser->setHtml(
            "<h2>Calvex V HXR Help</h2><p>The user guide (<code>help/index.html</code>) "
            "was not found next to the program.</p>");
    } else {
        QUrl url = QUrl::fromLocalFile(m_guide);
        if (!anchor.isEmpty()) url.setFragment(anchor);
        m_browser->setSource(url);
    }
    show();
    raise();
    activateWindow();
}
