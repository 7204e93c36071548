#include "app/workarea.h"

#include "app/devicepanel.h"
#include "app/mainlayout.h"
#include "app/sidebar.h"
#include "app/songpanel.h"
#include "app/trackgrid.h"
#include "app/welcomepanel.h"
#include "common/twipsscale.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

WorkArea::WorkArea(AppState& state, QWidget* parent) : QWidget(parent)
{
    setObjectName("workArea");
    m_grid = new TrackGrid(state, this);
    m_songPanel = new SongPanel(this, m_grid->box(1));
    for (int i = 0; i < 2; ++i) {
        m_lines[i] = new QFrame(this);
        m_lines[i]->setObjectName(QString("Line%1").arg(i + 1));
        m_lines[i]->setFrameShape(QFrame::HLine);
        m_lines[i]->setFrameShadow(QFrame::Sunken);
    }
    m_devices = new DevicePanel(this);
    m_sidebar = new Sidebar(this);
    m_sidebar->hide(); // the start-up toggle shows it when ShowSidebar is set
    m_sidebarToggle = makeButton("cmdTB1", "<", "Show Sidebar");
    m_standby = makeButton("cmdStandby", "_", "Send to Tray (Minimize)");
    m_exit = makeButton("cmdExit", "X", "Exit Quillon 05");
    m_cover = new WelcomePanel(this);
}

QPushButton* WorkArea::makeButton(const QString& name, const QString& text, const QString& tip)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus); // the focus stays in the track grid
    return button;
}

void WorkArea::toggleSidebar()
{
    if (!m_sidebar->isHidden()) {
        m_sidebar->hide();
        m_sidebarToggle->setText("<"); // the picture of Picture4
        m_sidebarToggle->setToolTip("Show Sidebar");
    } else {
        m_sidebar->show();
        m_sidebar->raise();
        m_sidebarToggle->setText(">"); // the picture of Picture3
        m_sidebarToggle->setToolTip("Hide Sidebar");
    }
}

void WorkArea::apply(const MainLayout& layout, const TwipsScale& scale)
{
    if (!m_cover->isHidden()) {
        m_cover->setGeometry(scale.toPixels(layout.cover));
        m_cover->welcomeBox()->setGeometry(scale.toPixels(layout.welcome));
        m_cover->raise();
    }
    m_lines[0]->setGeometry(0, scale.toPixels(15), scale.toPixels(layout.dividerRight), 2);
    m_lines[1]->setGeometry(0, scale.toPixels(690), scale.toPixels(layout.dividerRight), 2);
    m_exit->setGeometry(scale.toPixels(layout.exitButton));
    m_standby->setGeometry(scale.toPixels(layout.standbyButton));
    m_devices->setGeometry(scale.toPixels(layout.devicePanel));
    m_devices->arrange(scale, layout);
    m_grid->arrange(scale, layout);
    m_sidebar->setGeometry(scale.toPixels(layout.sidebar));
    m_sidebar->arrange(scale, layout.hideButtonTop);
    m_sidebar->raise();
    m_sidebarToggle->setGeometry(scale.toPixels(layout.sidebarToggle));
    if (!m_cover->isHidden())
        m_cover->raise();
}

} // namespace quillon
