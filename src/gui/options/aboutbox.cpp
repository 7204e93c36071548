#include "options/aboutbox.h"

#include "options/aboutpicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QVersionNumber>

namespace quillon {

namespace {
QFrame* rule(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmInfo");
    setWindowTitle("About");

    m_picture = new QLabel(this);
    m_picture->setObjectName("Image1");
    m_picture->setPixmap(AboutPicture::render(QSize(420, 200), devicePixelRatioF()));
    m_picture->setAlignment(Qt::AlignCenter);

    auto* title = new QLabel("Quillon 05", this);
    title->setObjectName("lblTitle");
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    m_version = new QLabel("Version " + versionText(), this);
    m_version->setObjectName("lblVersion");
    const QString company = QCoreApplication::organizationName();
    m_notice = new QLabel(
        "Organiser for musicians and recording studios.\nAll rights reserved" +
            (company.isEmpty() ? QStringLiteral(".") : QStringLiteral(" by ") + company + "."),
        this);
    m_notice->setObjectName("lblNotice");
    m_ok = new QPushButton("&OK", this);
    m_ok->setObjectName("cmdOK");
    m_ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picture);
    layout->addWidget(rule(this));
    layout->addWidget(title);
    layout->addWidget(m_version);
    layout->addWidget(m_notice);
    layout->addWidget(rule(this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A click anywhere on the box closes it, the picture and labels included.
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* child : children)
        if (child != m_ok)
            child->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

AboutBox::AboutBox(const QString& dataDir, QWidget* parent) : AboutBox(parent)
{
    if (dataDir.isEmpty())
        return;
    m_dataFolder = new QLabel("Data folder: " + QDir::toNativeSeparators(dataDir), this);
    m_dataFolder->setObjectName("lblDataFolder");
    m_dataFolder->installEventFilter(this);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(layout->indexOf(m_notice) + 1, m_dataFolder);
}

QString AboutBox::versionText()
{
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(QUILLON_VERSION);
    const QVersionNumber v = QVersionNumber::fromString(version);
    return QStringLiteral("%1.%2.%3")
        .arg(v.majorVersion())
        .arg(v.minorVersion())
        .arg(v.microVersion());
}

void AboutBox::centreOnScreen()
{
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->geometry();
    const QSize box = frameGeometry().size();
    move(area.x() + (area.width() - box.width()) / 2,
         area.y() + (area.height() - box.height()) / 2);
}

void AboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen();
}

void AboutBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    accept();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quillon
