#include "app/DialogLayouts.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "Version.h"
#include "app/Artwork.h"
#include "ui/qt/LayoutKit.h"

namespace layouts {

namespace {

using ui::qt::Button;
using ui::qt::Id;

// The port list grows to its longest name; what the screen cannot show of
// a name is in the tooltips, of the closed list and of each entry.
class PortList : public QComboBox {
public:
    PortList() {
        connect(model(), &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) {
                    for (int i = first; i <= last; ++i)
                        setItemData(i, itemText(i), Qt::ToolTipRole);
                    // The size hint follows the entries, but the layout goes
                    // by the minimum: make the whole longest entry the least.
                    setMinimumWidth(std::min(sizeHint().width(), maximumWidth()));
                });
    }

protected:
    bool event(QEvent* event) override {
        // The binder sets the selection with signals blocked; ask the list
        // itself when the tooltip is due.
        if (event->type() == QEvent::ToolTip) setToolTip(currentText());
        return QComboBox::event(event);
    }
};

QHBoxLayout* OkCancelRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Button("OK", ui::IDOK, true));
    row->addWidget(Button("Cancel", ui::IDCANCEL));
    return row;
}

}  // namespace

ui::qt::CBoundDialog* CommStatus(CCommStatusDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    dlg->Binder().SetImageProvider([](int id) { return art::Bitmap(id); });

    auto* group = Id(new QGroupBox, IDC_STATUS_GROUP);
    auto* inner = new QVBoxLayout(group);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(Id(new QLabel("Progress:"), IDC_PROGRESS_LABEL));
    auto* bar = Id(new QProgressBar, IDC_PROGRESS);
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    progressRow->addWidget(bar, 1);
    inner->addLayout(progressRow);
    auto* text = Id(new QLabel, IDC_STATUS_TEXT);
    text->setWordWrap(true);
    text->setMinimumHeight(text->fontMetrics().lineSpacing() * 2 + 4);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    inner->addWidget(text);

    auto* picture = Id(new QLabel, IDC_STATUS_PICTURE);
    picture->setFixedSize(77, 77);
    auto* yes = Id(new QPushButton("Yes"), IDC_STATUS_YES);
    yes->hide();

    auto* right = new QVBoxLayout;
    right->addWidget(picture, 0, Qt::AlignHCenter);
    right->addWidget(Button("&OK", ui::IDOK, true));
    right->addWidget(yes);
    right->addStretch();

    auto* top = new QHBoxLayout(dlg);
    top->addWidget(group, 1);
    top->addLayout(right);
    dlg->resize(420, 150);
    return dlg;
}

ui::qt::CBoundDialog* SystemConfig(CSystemConfigDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    auto* group = new QGroupBox("Serial Communication Setting");
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("Communication Port:"), 0, 0);
    auto* ports = Id(new PortList, IDC_COMM_PORT);
    ports->setEditable(false);
    ports->setMaxVisibleItems(16);
    ports->setMinimumContentsLength(12);
    ports->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Within the screen, beside the label and the buttons.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        ports->setMaximumWidth(std::max(200, screen->availableGeometry().width() - 320));
    grid->addWidget(ports, 0, 1);
    grid->addWidget(new QLabel("Baud Rate:"), 1, 0);
    grid->addWidget(Id(new QLabel("1200 bps."), IDC_BAUD_RATE), 1, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button("OK", ui::IDOK, true));
    buttons->addWidget(Button("Cancel", ui::IDCANCEL));
    buttons->addStretch();

    auto* top = new QHBoxLayout(dlg);
    top->addWidget(group, 1);
    top->addLayout(buttons);
    dlg->resize(420, 120);
    return dlg;
}

ui::qt::CBoundDialog* UsbDelay(CUsbDelayDlg& model, QWidget* parent) {
    auto* dlg = new ui::qt::CBoundDialog(model, parent);
    auto* group = new QGroupBox("Delay Time Setting:");
    auto* inner = new QVBoxLayout(group);
    auto* explanation = new QLabel(CUsbDelayDlg::kExplanation);
    explanation->setWordWrap(true);
    inner->addWidget(explanation);
    auto* delays = Id(new QComboBox, IDC_USB_DELAY);
    delays->setEditable(true);
    // Typing never adds an entry; only a pick from the list changes the delay.
    delays->setInsertPolicy(QComboBox::NoInsert);
    inner->addWidget(delays);

    auto* top = new QVBoxLayout(dlg);
    top->addWidget(group);
    top->addLayout(OkCancelRow());
    dlg->resize(330, 220);
    return dlg;
}

QDialog* About(QWidget* parent) {
    auto* dlg = new QDialog(parent);
    dlg->setWindowTitle("About Calvex V HXR");
    dlg->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* picture = new QLabel;
    picture->setObjectName("aboutBitmap");
    picture->setPixmap(art::Bitmap(art::IDB_ABOUT));
    auto* title = new QLabel("Calvex V Two Tone Pager Programming Software");
    title->setObjectName("aboutTitle");
    auto* info = new QLabel(QString("Product Information: ") +
                            "\n     Version: " CALVEX_VERSION " \t\t Build date: September 28, 2007");
    info->setObjectName("aboutInfo");
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(info);
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    row->addWidget(ok, 0, Qt::AlignTop);
    auto* top = new QVBoxLayout(dlg);
    top->addLayout(row);
    return dlg;
}

}  // namespace layouts
