#include "app/songpanel.h"

#include "common/twipsscale.h"
#include "songs/songrecord.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

namespace {
QLabel* makeLabel(QWidget* area, const QString& name, const QString& tip)
{
    auto* label = new QLabel(area);
    label->setObjectName(name);
    label->setToolTip(tip);
    return label;
}
} // namespace

SongPanel::SongPanel(QWidget* area, QWidget* firstTrackBox)
    : QObject(area), m_firstBox(firstTrackBox)
{
    m_title = new QLineEdit(area);
    m_title->setObjectName("Songtitleinput");
    m_title->setReadOnly(true);
    m_title->setToolTip("Songtitle");
    m_title->installEventFilter(this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_composer = makeLabel(area, "lblComposer", "Composed by");
    m_words = makeLabel(area, "lblWords", "Words by");
    m_date = makeLabel(area, "lblCompDate", "Date of composition");
    m_default = new QPushButton(area);
    m_default->setObjectName("cmdDefault");
    m_default->setGeometry(-100, -100, 1, 1); // present, able to take the focus, out of sight
}

void SongPanel::show(const SongRecord& song)
{
    m_title->setText(song.text("songtitle"));
    m_title->setCursorPosition(0);
    m_composer->setText(song.text("composer"));
    m_words->setText(song.text("text"));
    m_date->setText(song.text("compodate"));
}

void SongPanel::clear()
{
    m_title->clear();
    m_composer->clear();
    m_words->clear();
    m_date->clear();
}

void SongPanel::arrange(const TwipsScale& scale)
{
    m_title->setGeometry(scale.toPixels(QRectF(120, 45, 5200, 330)));
    m_composer->setGeometry(scale.toPixels(QRectF(120, 390, 3200, 270)));
    m_words->setGeometry(scale.toPixels(QRectF(3400, 390, 3200, 270)));
    m_date->setGeometry(scale.toPixels(QRectF(6680, 390, 1800, 270)));
}

bool SongPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_title) {
        if (event->type() == QEvent::FocusIn) {
            m_default->setFocus();
            return false;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            m_default->setFocus();
            if (m_firstBox)
                m_firstBox->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
