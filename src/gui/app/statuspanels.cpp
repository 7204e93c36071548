#include "app/statuspanels.h"

#include "store/songconstants.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

namespace quillon {

const QStringList& StatusPanels::keys()
{
    static const QStringList k{"infopanel", "adpanel", "rcPanel", "datepanel", "time"};
    return k;
}

QString StatusPanels::productNotice()
{
    return QStringLiteral("Quillon 05 - songs and track sheets");
}

StatusPanels::StatusPanels(QStatusBar* bar) : QObject(bar), m_clock(new QTimer(this))
{
    bar->setObjectName("sb1");
    bar->setSizeGripEnabled(true);
    for (const QString& key : keys()) {
        auto* label = new QLabel(bar);
        label->setObjectName(key);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        m_panels.insert(key, label);
        if (key == "infopanel" || key == "adpanel")
            bar->addWidget(label, 1);
        else
            bar->addPermanentWidget(label);
    }
    setText("infopanel", productNotice());
    setText("rcPanel", "Songs:");
    // Wide enough for any count, so that the number is never cut off.
    m_panels["rcPanel"]->setMinimumWidth(
        m_panels["rcPanel"]->fontMetrics().horizontalAdvance("Songs: 000000") + 8);
    refreshClock();
    connect(m_clock, &QTimer::timeout, this, &StatusPanels::refreshClock);
    m_clock->start(1000);
}

QString StatusPanels::text(const QString& key) const
{
    QLabel* label = m_panels.value(key);
    return label ? label->text() : QString();
}

void StatusPanels::setText(const QString& key, const QString& text)
{
    if (QLabel* label = m_panels.value(key))
        label->setText(text);
}

void StatusPanels::showSongCount(int count)
{
    setText("rcPanel", "Songs:" + numberText(count));
}

void StatusPanels::refreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    setText("datepanel", locale.toString(now.date(), QLocale::ShortFormat));
    setText("time", locale.toString(now.time(), QLocale::ShortFormat));
}

} // namespace quillon
