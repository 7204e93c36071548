#include "documents/lyricswindow.h"

#include "common/appstate.h"
#include "common/changedelsewhere.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/windowtopmost.h"
#include "documents/documenteditor.h"
#include "songs/songstore.h"
#include "store/settings.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

namespace quillon {

namespace {

QLabel* addPanel(QGridLayout* grid, int row, int column, const QString& caption,
                 const QString& name)
{
    auto* label = new QLabel(caption);
    auto* panel = new QLabel;
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    panel->setMinimumWidth(160);
    grid->addWidget(label, row, column * 2);
    grid->addWidget(panel, row, column * 2 + 1);
    return panel;
}

} // namespace

LyricsWindow::LyricsWindow(AppState& state, QWidget* parent)
    : NoteWindow(state,
                 {QStringLiteral("LyricsMain"), QStringLiteral("Lyrics changed!"),
                  state.settings.lyricsSaveAs(), false},
                 parent),
      m_flagBefore(state.lyricsWindowOpen)
{
    setObjectName(QStringLiteral("frmLyricsNew"));
    state.lyricsWindowOpen = true;
    setHeader(buildPanels());

    auto* showMain = new QPushButton(this);
    showMain->setObjectName(QStringLiteral("cmdShowQuillon"));
    const QIcon icon = QApplication::windowIcon();
    showMain->setIcon(icon.isNull() ? style()->standardIcon(QStyle::SP_TitleBarNormalButton)
                                    : icon);
    showMain->setToolTip(QStringLiteral("Show Quillon"));
    addButton(showMain);

    m_onTopButton = new QPushButton(QStringLiteral("On Top"), this);
    m_onTopButton->setObjectName(QStringLiteral("cmdOnTop"));
    m_onTopButton->setToolTip(QStringLiteral("Stay on top of all other Programs"));
    addButton(m_onTopButton);

    connect(showMain, &QPushButton::clicked, this, [this] {
        Q_EMIT showMainWindowRequested();
        // The main window has come forward; the lyrics stay in front of it
        // and keep the focus.
        raise();
        activateWindow();
    });
    connect(m_onTopButton, &QPushButton::clicked, this, &LyricsWindow::toggleOnTop);

    loadSong();
}

LyricsWindow::~LyricsWindow()
{
    // Dropped without closing (the program ending): the flag must not
    // claim a window that no longer exists.
    releaseOpenFlag();
}

LyricsWindow* LyricsWindow::openModeless(AppState& state)
{
    auto* window = new LyricsWindow(state, nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    return window;
}

void LyricsWindow::openModal(AppState& state, QWidget* parent)
{
    LyricsWindow window(state, parent);
    window.exec();
}

QWidget* LyricsWindow::buildPanels()
{
    auto* panels = new QWidget(this);
    auto* grid = new QGridLayout(panels);
    grid->setContentsMargins(0, 0, 0, 0);
    m_titlePanel = addPanel(grid, 0, 0, QStringLiteral("Songtitle"), "Songtitelpanel");
    m_wordsPanel = addPanel(grid, 1, 0, QStringLiteral("Words by"), "autorpanel");
    m_musicPanel = addPanel(grid, 2, 0, QStringLiteral("Music by"), "Musicpanel");
    m_keyPanel = addPanel(grid, 0, 1, QStringLiteral("Key"), "Keypanel");
    m_stylePanel = addPanel(grid, 1, 1, QStringLiteral("Style"), "Stylepanel");
    m_lengthPanel = addPanel(grid, 2, 1, QStringLiteral("Length"), "Lengthpanel");
    return panels;
}

void LyricsWindow::loadSong()
{
    AppState& s = state();
    m_title = s.currentSong;
    // The panels show the details as they were when the window opened.
    const SongDetails& details = s.currentSongDetails;
    m_titlePanel->setText(m_title);
    m_wordsPanel->setText(details.words);
    m_musicPanel->setText(details.composer);
    m_keyPanel->setText(details.key);
    m_stylePanel->setText(details.style);
    m_lengthPanel->setText(details.length);
    setWindowTitle(QStringLiteral("Lyrics [") + m_title + ']');

    const std::optional<SongRecord> song = s.songLoaded() ? s.songs.song(m_title) : std::nullopt;
    if (!song) {
        QString error = QStringLiteral("The lyrics of \"%1\" could not be read.").arg(m_title);
        if (!s.songLoaded())
            error = QStringLiteral("No song is loaded.");
        else if (!s.songs.isOpen() || !s.songs.lastError().isEmpty())
            error += '\r' + s.songs.lastError();
        qCWarning(lcDocuments) << "lyrics not readable for" << m_title;
        showUnreadable(error);
        return;
    }
    m_lyricsAsRead = song->text(QStringLiteral("lyrics"));
    showFieldText(m_lyricsAsRead, song->isNull(QStringLiteral("lyrics")));
}

void LyricsWindow::followRename(const QString& oldTitle, const QString& newTitle)
{
    if (m_title != oldTitle)
        return;
    m_title = newTitle;
    m_titlePanel->setText(m_title);
    setWindowTitle(QStringLiteral("Lyrics [") + m_title + ']');
}

bool LyricsWindow::reopenForCurrentSong()
{
    if (isChanged() && m_title == state().currentSong) {
        // The same song again (reloaded after its details were stored):
        // refresh the panels and keep the text being edited.
        const SongDetails& details = state().currentSongDetails;
        m_wordsPanel->setText(details.words);
        m_musicPanel->setText(details.composer);
        m_keyPanel->setText(details.key);
        m_stylePanel->setText(details.style);
        m_lengthPanel->setText(details.length);
        show();
        raise();
        return true;
    }
    if (!confirmDiscard())
        return false;
    loadSong();
    state().lyricsWindowOpen = true;
    show();
    raise();
    return true;
}

bool LyricsWindow::storeFieldText(const QString& fieldText, QString& error)
{
    SongStore& songs = state().songs;
    const QString field = QStringLiteral("lyrics");
    if (songs.updateFields(m_title, {{field, fieldText}}, {{field, m_lyricsAsRead}})) {
        m_lyricsAsRead = fieldText;
        return true;
    }
    if (!songs.changedElsewhere()) {
        error = songs.lastError();
        return false;
    }
    // The text is all typed: it stays as it is, and the next save stores
    // it over what the other room stored.
    bool gone = false;
    error = changedelsewhere::refusalText(songs, m_title, &gone);
    if (const std::optional<SongRecord> song = gone ? std::nullopt : songs.song(m_title))
        m_lyricsAsRead = song->text(field);
    return false;
}

QString LyricsWindow::importFolder() const
{
    return state().data.lyricsDir();
}

QString LyricsWindow::exportFolder() const
{
    return state().data.lyricsDir();
}

void LyricsWindow::printDocument()
{
    // Printing happens from the preview.
    showPreview(windowTitle());
}

void LyricsWindow::toggleOnTop()
{
    editor()->textEdit()->setFocus();
    m_onTop = !m_onTop;
    m_onTopButton->setText(m_onTop ? QStringLiteral("Off") : QStringLiteral("On"));
    QPalette palette = m_onTopButton->palette();
    palette.setColor(QPalette::ButtonText, m_onTop ? QColor(255, 0, 0) : QColor(0, 0, 0));
    m_onTopButton->setPalette(palette);
    const bool visible = isVisible();
    setWindowTopmost(this, m_onTop);
    if (visible)
        editor()->textEdit()->setFocus();
}

void LyricsWindow::aboutToClose()
{
    releaseOpenFlag();
}

void LyricsWindow::releaseOpenFlag()
{
    if (m_flagReleased)
        return;
    m_flagReleased = true;
    // A modal showing over an open modeless window must not clear the flag
    // the modeless one still stands for.
    state().lyricsWindowOpen = isModal() ? m_flagBefore : false;
}

} // namespace quillon
