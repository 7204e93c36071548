#include "songs/songinfonotedialog.h"

#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/changedelsewhere.h"
#include "common/characterfilter.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "printing/pagesink.h"
#include "songs/songfields.h"
#include "songs/songinfodialog.h"
#include "songs/songnoteprintout.h"
#include "songs/songstore.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

SongInfoNoteDialog::SongInfoNoteDialog(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmSongInfoNote"));
    setWindowTitle(tr("Song Info  -  Notes"));
    setModal(true);

    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("TB_Songinfonotes"));
    m_note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_note->setTabChangesFocus(true);
    // A note is free text over several lines, of any length.
    auto* filter = new CharacterFilter(m_note, songfields::noteCharacters(), 0,
                                       CharacterFilter::LineBreaks::Kept);
    m_note->setMinimumSize(fontMetrics().averageCharWidth() * 64, fontMetrics().height() * 14);

    auto* printButton = new QPushButton(tr("&Print"), this);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    auto* setupButton = new QPushButton(tr("Printer Setup"), this);
    setupButton->setObjectName(QStringLiteral("cmdPrinterSetup"));
    auto* closeButton = new QPushButton(tr("&Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {printButton, setupButton, closeButton})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(setupButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addLayout(buttons);

    if (const auto song = m_state.songs.song(m_state.currentSong)) {
        m_noteAsRead = song->text(QStringLiteral("notiz1"));
        filter->setText(m_noteAsRead);
    } else {
        qCWarning(lcSongs) << "note: no song row for" << m_state.currentSong;
    }
    m_loadedNote = m_note->toPlainText();
    m_detailsNote = m_state.currentSongDetails.note;
    connect(m_note, &QPlainTextEdit::textChanged, this,
            [this] { m_state.currentSongDetails.note = m_note->toPlainText(); });
    connect(printButton, &QPushButton::clicked, this, &SongInfoNoteDialog::print);
    connect(setupButton, &QPushButton::clicked, this, &SongInfoNoteDialog::printerSetup);
    connect(closeButton, &QPushButton::clicked, this, &SongInfoNoteDialog::storeAndClose);

    adjustSize();
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect o = owner->frameGeometry();
        move(o.left() + o.width() / 2 - width() / 2, o.top() + o.height() / 2 - height() / 2);
    }
}

void SongInfoNoteDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_note->setFocus();
}

void SongInfoNoteDialog::reject()
{
    // Escape and the title bar's close box: a changed note is not dropped
    // unasked, as in the song details.
    if (m_note->toPlainText() == m_loadedNote) {
        QDialog::reject();
        return;
    }
    const auto answer = SongInfoDialog::askToStore(m_state.prompter, this);
    if (answer == QMessageBox::Yes) {
        storeAndClose();
    } else if (answer == QMessageBox::No) {
        m_state.currentSongDetails.note = m_detailsNote;
        QDialog::reject();
    }
}

bool SongInfoNoteDialog::storeAndClose()
{
    const QString field = QStringLiteral("notiz1");
    const QString title = m_state.currentSong;
    if (m_note->toPlainText() == m_noteAsRead) {
        // Nothing to store, and nothing to overwrite another room's note with.
        accept();
        return true;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_state.songs.updateFields(title, {{field, m_note->toPlainText()}},
                                               {{field, m_noteAsRead}});
    QApplication::restoreOverrideCursor();
    if (!ok) {
        if (m_state.songs.changedElsewhere())
            keepTypedNote(title);
        else // closing now would throw the typed note away
            m_state.prompter.critical(this, m_state.songs.lastError());
        return false;
    }
    m_noteAsRead = m_note->toPlainText();
    accept();
    return true;
}

void SongInfoNoteDialog::keepTypedNote(const QString& title)
{
    bool gone = false;
    const QString why = changedelsewhere::refusalText(m_state.songs, title, &gone);
    m_state.prompter.message(this, why, kApplicationTitle, Prompter::Icon::Warning);
    const std::optional<SongRecord> song = gone ? std::nullopt : m_state.songs.song(title);
    if (!song)
        return;
    // The typed note stays; the next Close stores it over the other room's,
    // and closing otherwise asks first.
    m_noteAsRead = song->text(QStringLiteral("notiz1"));
    m_loadedNote = m_noteAsRead;
}

void SongInfoNoteDialog::print()
{
    std::unique_ptr<PageSink> sink = m_printer ? m_state.prompter.openPrinter(*m_printer)
                                               : m_state.prompter.openDefaultPrinter();
    if (!sink) {
        qCWarning(lcPrinting) << "note: no printer";
        m_state.prompter.noPrinter(this);
        return;
    }
    const QStringList lines =
        SongNotePrintout::lines(m_state.currentSong, m_note->toPlainText(), QDate::currentDate());
    const int copies = m_printer ? qBound(1, m_printer->copies, 999) : 1;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool printed = sink->beginJob(tr("Songinfo - %1").arg(m_state.currentSong));
    // Every copy starts on a sheet of its own.
    for (int c = 0; printed && c < copies; ++c)
        printed = (c == 0 || sink->newPage()) && SongNotePrintout::print(*sink, lines);
    if (printed)
        printed = sink->endJob();
    else
        sink->abortJob();
    QApplication::restoreOverrideCursor();
    if (!printed) {
        qCWarning(lcPrinting) << "note:" << sink->lastError();
        m_state.prompter.critical(this, tr("The note was not printed.\r%1").arg(sink->lastError()));
    }
}

void SongInfoNoteDialog::printerSetup()
{
    const std::optional<PrintChoice> chosen =
        m_state.prompter.printerSetupDialog(this, m_printer ? *m_printer : PrintChoice{});
    if (chosen)
        m_printer = std::make_shared<PrintChoice>(*chosen);
}

} // namespace quillon
