#include "app/welcomepanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

WelcomePanel::WelcomePanel(QWidget* parent) : QFrame(parent)
{
    setObjectName("picHideAll");
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);

    m_box = new QFrame(this);
    m_box->setObjectName("Picture2");
    m_box->setFrameShape(QFrame::StyledPanel);
    m_box->setAutoFillBackground(true);

    auto* grid = new QGridLayout(m_box);
    m_productName = new QLabel(m_box);
    m_productName->setObjectName("lblProductName");
    QFont big = m_productName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_productName->setFont(big);
    m_version = new QLabel(m_box);
    m_version->setObjectName("Label2");
    grid->addWidget(m_productName, 0, 0, 1, 2);
    grid->addWidget(m_version, 1, 0, 1, 2);

    connect(addButton("cmdCreateSong", "Create a New Song", "+", 2), &QPushButton::clicked, this,
            &WelcomePanel::createSongClicked);
    connect(addButton("cmdOpenSong", "Open a Song", ">", 3), &QPushButton::clicked, this,
            &WelcomePanel::openSongClicked);
    m_openLast = addButton("roCommand1", "Open Last Song", "<", 4);
    connect(m_openLast, &QPushButton::clicked, this, &WelcomePanel::openLastSongClicked);
    connect(addButton("cmdCancel", "Hide", "x", 5), &QPushButton::clicked, m_box, &QWidget::hide);

    m_notice = new QLabel(m_box);
    m_notice->setObjectName("lblNotice");
    m_notice->setWordWrap(true);
    grid->addWidget(m_notice, 6, 0, 1, 2);
}

QPushButton* WelcomePanel::addButton(const QString& name, const QString& caption,
                                     const QString& glyph, int row)
{
    auto* grid = static_cast<QGridLayout*>(m_box->layout());
    auto* button = new QPushButton(glyph, m_box);
    button->setObjectName(name);
    button->setFixedSize(32, 24);
    button->setToolTip(caption);
    auto* label = new QLabel(caption, m_box);
    label->setObjectName(name + "Caption");
    label->setBuddy(button);
    grid->addWidget(button, row, 0);
    grid->addWidget(label, row, 1);
    return button;
}

void WelcomePanel::setNotice(const QString& productName, const QString& version,
                             const QString& notice)
{
    m_productName->setText(productName);
    m_version->setText(version);
    m_notice->setText(notice);
}

void WelcomePanel::offerLastSong(bool enabled, const QString& toolTip)
{
    m_openLast->setEnabled(enabled);
    m_openLast->setToolTip(toolTip);
    // The caption beside the button explains itself just the same.
    if (auto* caption = m_box->findChild<QLabel*>("roCommand1Caption")) {
        caption->setEnabled(enabled);
        caption->setToolTip(toolTip);
    }
}

} // namespace quillon
