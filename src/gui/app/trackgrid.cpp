#include "app/trackgrid.h"

#include "app/mainlayout.h"
#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/changedelsewhere.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/twipsscale.h"
#include "songs/songstore.h"
#include "store/songconstants.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>

namespace quillon {

TrackGrid::TrackGrid(AppState& state, QWidget* area) : QObject(area), m_state(state), m_area(area)
{
    for (int i = 1; i <= kBoxes; ++i) {
        auto* label = new QLabel(QString::number(i), area);
        label->setObjectName(QString("Notr_%1").arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_labels[i - 1] = label;
        auto* box = new QLineEdit(area);
        box->setObjectName(QString("trax_%1").arg(i));
        box->installEventFilter(this);
        m_boxes[i - 1] = box;
    }
    m_list = new QListWidget(area);
    m_list->setObjectName("List1");
    m_list->hide();
}

QList<QWidget*> TrackGrid::widgets() const
{
    QList<QWidget*> all;
    for (QLineEdit* box : m_boxes)
        all << box;
    for (QLabel* label : m_labels)
        all << label;
    return all;
}

int TrackGrid::firstTrack() const
{
    return 24 * (m_state.currentTrackBank - 1) + 1;
}

void TrackGrid::load()
{
    const QStringList row = m_state.songs.trackRow(m_state.currentSong, m_state.currentDeviceIndex);
    m_state.trackFillInProgress = true;
    for (QLineEdit* box : m_boxes)
        box->clear();
    const int first = firstTrack();
    for (int i = 0; i < kBoxes; ++i) {
        m_boxes[i]->setText(row.value(first - 1 + i));
        m_boxes[i]->setCursorPosition(0);
        m_labels[i]->setText(QString::number(first + i));
    }
    m_state.trackFillInProgress = false;
    m_shown = Shown{m_state.currentSong, m_state.currentDeviceIndex, m_state.currentTrackBank,
                    row.mid(first - 1, kBoxes), boxTexts()};
    m_refreshPending = m_refused = false;
}

void TrackGrid::clear()
{
    m_state.trackFillInProgress = true;
    for (QLineEdit* box : m_boxes)
        box->clear();
    m_state.trackFillInProgress = false;
    m_shown.reset();
    m_refreshPending = m_refused = false;
}

QStringList TrackGrid::boxTexts() const
{
    QStringList texts;
    for (QLineEdit* box : m_boxes)
        texts << box->text();
    return texts;
}

std::optional<QStringList> TrackGrid::storedBank()
{
    const int first = 24 * (m_shown->bank - 1) + 1;
    const QStringList row = m_state.songs.trackRow(m_shown->song, m_shown->slot);
    // A read that failed (the server out of reach) says nothing about the
    // tracks; it must not empty the boxes.
    if (m_state.songs.database().connectionLost())
        return std::nullopt;
    return row.mid(first - 1, kBoxes);
}

bool TrackGrid::writeBank()
{
    if (m_state.trackFillInProgress || !m_state.songLoaded())
        return false;
    // The boxes hold the tracks of the song, slot and bank they were filled
    // from; a box left after another song became current (a dialog just
    // created or chose it) must not write its old text into the new song.
    if (!m_shown || m_shown->song != m_state.currentSong)
        return false;
    const QStringList texts = boxTexts();
    const int first = 24 * (m_shown->bank - 1) + 1;
    for (int i = 0; i < kBoxes; ++i)
        m_labels[i]->setText(QString::number(first + i));
    // Writing the bank as read would only overwrite what another room has
    // stored since.
    const bool typed = texts != m_shown->shownTexts;
    if (!typed ||
        m_state.songs.writeTracks(m_shown->song, m_shown->slot, first, texts, m_shown->asRead)) {
        if (typed)
            m_shown->asRead = m_shown->shownTexts = texts;
        m_refused = false;
        if (m_refreshPending)
            refresh();
        return true;
    }
    if (m_state.songs.changedElsewhere()) {
        takeStoredBank();
        return false;
    }
    // The text stays in the boxes; the user is told that it was not stored.
    reportWriteFailure(m_state.songs.lastError());
    return false;
}

void TrackGrid::takeStoredBank()
{
    bool gone = false;
    const QString text = changedelsewhere::refusalText(m_state.songs, m_shown->song, &gone);
    report(text, Prompter::Icon::Warning);
    const std::optional<QStringList> current = gone ? std::nullopt : storedBank();
    if (!current)
        return; // nothing to show instead: the text stays as it is
    for (int i = 0; i < kBoxes; ++i)
        if (m_boxes[i]->text() == m_shown->shownTexts.value(i))
            changedelsewhere::setKeepingCursor(m_boxes[i], current->value(i));
    // The next write is based on what is stored now, so it goes through.
    m_shown->asRead = m_shown->shownTexts = *current;
    m_refused = true;
    m_refreshPending = false;
}

void TrackGrid::refresh()
{
    if (!m_shown || m_shown->song != m_state.currentSong)
        return;
    if (boxTexts() != m_shown->shownTexts) {
        m_refreshPending = true; // typed text first goes through its write
        return;
    }
    const std::optional<QStringList> current = storedBank();
    if (!current)
        return; // the next change heard (or the reconnection) tries again
    m_refreshPending = false;
    for (int i = 0; i < kBoxes; ++i)
        changedelsewhere::setKeepingCursor(m_boxes[i], current->value(i));
    m_shown->asRead = *current;
    m_shown->shownTexts = boxTexts();
    if (m_listFormat && !m_list->isHidden())
        fillList(*m_listFormat);
}

void TrackGrid::followRename(const QString& oldTitle, const QString& newTitle)
{
    if (m_shown && m_shown->song == oldTitle)
        m_shown->song = newTitle;
}

bool TrackGrid::holdsRefusedText() const
{
    return m_refused && m_shown && boxTexts() != m_shown->shownTexts;
}

void TrackGrid::reportWriteFailure(const QString& error)
{
    qCWarning(lcSongs) << "track write failed:" << error;
    report("The tracks could not be stored:\r\r" + error +
               "\r\rThe text is still in the track boxes.",
           Prompter::Icon::Critical);
}

void TrackGrid::report(const QString& text, Prompter::Icon icon)
{
    if (m_reportPending)
        return;
    m_reportPending = true;
    // Shown once the focus change that triggered the write is complete; a
    // box opened in the middle of it would itself move the focus again.
    QPointer<QWidget> area = m_area;
    QTimer::singleShot(0, this, [this, area, text, icon] {
        m_state.prompter.message(area ? area->window() : nullptr, text,
                                 icon == Prompter::Icon::Critical ? QString() : kApplicationTitle,
                                 icon, QMessageBox::Ok);
        m_reportPending = false;
    });
}

void TrackGrid::fillList(ListFormat format)
{
    m_listFormat = format;
    const QStringList row = m_state.songs.trackRow(m_state.currentSong, m_state.currentDeviceIndex);
    m_list->clear();
    for (int k = 1; k <= 96; ++k) {
        const QString text = row.value(k - 1);
        m_list->addItem(format == ListFormat::Short ? numberText(k) + "-" + text
                                                    : "Track" + numberText(k) + " - " + text);
    }
}

void TrackGrid::arrange(const TwipsScale& scale, const MainLayout& layout)
{
    for (int i = 0; i < kBoxes; ++i) {
        m_boxes[i]->setGeometry(scale.toPixels(layout.boxes[i]));
        m_labels[i]->setGeometry(scale.toPixels(layout.numberLabels[i]));
    }
    m_list->setGeometry(scale.toPixels(layout.trackList));
}

bool TrackGrid::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::FocusOut)
        writeBank();
    if (box && event->type() == QEvent::FocusIn) {
        // The cursor goes to the start of the text once the box has settled
        // (tabbing in would otherwise select the whole text).
        QPointer<QLineEdit> entered = box;
        QTimer::singleShot(0, this, [entered] {
            if (entered && entered->hasFocus())
                entered->home(false);
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
