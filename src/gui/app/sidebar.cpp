#include "app/sidebar.h"

#include "common/twipsscale.h"

#include <QPushButton>
#include <QStyle>

namespace quillon {

namespace {
const char* const kBankTips[4] = {"Show Tracks 1 to 24", "Show Tracks 25 to 48",
                                  "Show Tracks 49 to 72", "Show Tracks 73 to 96"};
const char* const kBankTexts[4] = {"1-24", "25-48", "49-72", "73-96"};
} // namespace

Sidebar::Sidebar(QWidget* parent) : QFrame(parent)
{
    setObjectName("picTB1");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    for (int b = 1; b <= 4; ++b) {
        m_banks[b - 1] =
            makeButton(QString("cmdTS1_%1").arg(b), kBankTexts[b - 1], kBankTips[b - 1]);
        connect(m_banks[b - 1], &QPushButton::clicked, this, [this, b] { emit bankClicked(b); });
    }
    connect(makeButton("cmdTrackList", "List", "Show/Hide Tracklist"), &QPushButton::clicked, this,
            &Sidebar::trackListClicked);
    connect(makeButton("cmdBar", "Bar", "Show/Hide Recording Devices Bar"), &QPushButton::clicked,
            this, &Sidebar::devicesBarClicked);
    connect(makeButton("cmdDetails", "Info", "Preview Songdetails"), &QPushButton::clicked, this,
            &Sidebar::detailsClicked);
    connect(makeButton("cmdEditDev", "Dev", "Show Recording Device details"), &QPushButton::clicked,
            this, &Sidebar::editDeviceClicked);
    m_hide = makeButton("cmdHide", ">>", "Hide Siedebar");
    m_column.removeLast();
    connect(m_hide, &QPushButton::clicked, this, &Sidebar::hideClicked);
}

QPushButton* Sidebar::makeButton(const QString& name, const QString& text, const QString& tip)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus); // the focus stays in the track grid
    m_column << button;
    return button;
}

void Sidebar::setPressedBank(int bank)
{
    for (int b = 1; b <= 4; ++b) {
        QPushButton* button = m_banks[b - 1];
        button->setEnabled(true);
        button->setIcon(QIcon());
    }
    if (bank < 1 || bank > 4)
        return;
    QPushButton* pressed = m_banks[bank - 1];
    pressed->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    pressed->setEnabled(false);
}

void Sidebar::arrange(const TwipsScale& scale, double hideTop)
{
    const double width = kWidth - 120;
    for (int i = 0; i < m_column.size(); ++i)
        m_column[i]->setGeometry(scale.toPixels(QRectF(60, 60 + i * 480, width, 450)));
    m_hide->setGeometry(scale.toPixels(QRectF(60, hideTop, width, 450)));
}

} // namespace quillon
