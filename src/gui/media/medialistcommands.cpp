#include "media/medialistcommands.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "media/medialist.h"
#include "media/medialistprinter.h"
#include "media/mediastore.h"
#include "media/waitcursor.h"
#include "printing/pagesink.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDateTime>
#include <QWidget>

namespace quillon {

namespace {
// What the system shows as the program's name while and after the list is
// built; the settings keep their own, unchanged name.
const QString kBuildingTitle = QStringLiteral("Quillon05");
const QString kListTitle = QStringLiteral("Recording Mediums Quillon");
} // namespace

MediaListCommands::MediaListCommands(AppState& state, QWidget* window)
    : m_state(state), m_window(window)
{
}

QString MediaListCommands::appTitle() const
{
    return QGuiApplication::applicationDisplayName();
}

bool MediaListCommands::fill()
{
    QGuiApplication::setApplicationDisplayName(kBuildingTitle);
    WaitCursor wait;
    MediaStore store(m_state.data);
    const QList<Medium> media = store.all();
    if (media.isEmpty()) {
        wait.restore();
        if (!store.lastError().isEmpty())
            m_state.prompter.critical(m_window, store.lastError(), appTitle());
        else
            m_state.prompter.message(m_window, QStringLiteral("There is nothing to print. Sorry!"),
                                     appTitle(), Prompter::Icon::None, QMessageBox::Ok);
        return false;
    }
    const QDateTime now = QDateTime::currentDateTime();
    m_window->setWindowTitle(media::listCaption(now.date()));
    m_text = media::mediaListText(media, now);
    QGuiApplication::setApplicationDisplayName(kListTitle);
    qCDebug(lcMedia) << "media list built with" << media.size() << "media";
    return true;
}

bool MediaListCommands::exportList()
{
    fill();
    QString error;
    if (!media::saveMediaList(m_state.data.mediaListTxt(), m_text, &error)) {
        m_state.prompter.critical(m_window, error, appTitle());
        return false;
    }
    return true;
}

void MediaListCommands::preview()
{
    if (!exportList())
        return;
    if (m_showPreview)
        m_showPreview(m_text);
}

bool MediaListCommands::print()
{
    fill();
    // A blank sheet after "nothing to print" helps nobody.
    if (m_text.isEmpty())
        return false;
    WaitCursor wait;
    std::unique_ptr<PageSink> sink = m_state.prompter.openDefaultPrinter();
    if (!sink) {
        wait.restore();
        m_state.prompter.critical(
            m_window,
            QStringLiteral("There is no default printer. The media list was not printed."),
            appTitle());
        return false;
    }
    MediaListPrinter printer;
    if (!printer.print(*sink, m_text)) {
        wait.restore();
        const QString reason = printer.lastError().isEmpty()
                                   ? QStringLiteral("The printer refused the job.")
                                   : printer.lastError();
        m_state.prompter.critical(
            m_window, QStringLiteral("The media list was not printed.\r") + reason, appTitle());
        return false;
    }
    return true;
}

} // namespace quillon
