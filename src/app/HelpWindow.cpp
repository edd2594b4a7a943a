#include "app/HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& guide, QWidget* parent) : QDialog(parent), m_guide(guide) {
    setObjectName("helpWindow");
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
    // scrolling sideways.
    resize(800, 600);
}

void HelpWindow::ShowContents() {
    if (m_guide.isEmpty()) {
        m_browser->setHtml(
            "<h2>Calvex V HXR Help</h2><p>The user guide (<code>help/index.html</code>) "
            "was not found next to the program.</p>");
    } else {
        m_browser->setSource(QUrl::fromLocalFile(m_guide));
    }
    show();
    raise();
    activateWindow();
}
