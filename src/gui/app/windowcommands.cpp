#include "app/windowcommands.h"

#include "app/mainwindow.h"
#include "app/traycontroller.h"
#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/changedelsewhere.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/twipsscale.h"
#include "devices/floatingbar.h"
#include "devices/recdevwindow.h"
#include "documents/generalinfowindow.h"
#include "documents/lyricswindow.h"
#include "documents/richtextdocument.h"
#include "media/tapewindow.h"
#include "options/aboutbox.h"
#include "options/optionsdialog.h"
#include "printing/cupsprinters.h"
#include "printing/printdialog.h"
#include "printing/printersetupdialog.h"
#include "printing/showpreview.h"
#include "songs/printtsoptionsdialog.h"
#include "songs/sessioninfodialog.h"
#include "songs/songdetailspreview.h"
#include "songs/songinfodialog.h"
#include "songs/songinfonotedialog.h"
#include "songs/songstore.h"
#include "songs/stylewindow.h"
#include "songs/tracksheetwindow.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QTimer>
#include <QVariantMap>

namespace quillon {

WindowCommands::WindowCommands(AppState& state, MainWindow& main) : m_state(state), m_main(main) {}

WindowCommands::~WindowCommands()
{
    // The program is ending: a lyrics window still open goes with it.
    delete m_lyrics.data();
}

bool WindowCommands::opened(const QString& window)
{
    qCDebug(lcApp) << "window requested:" << window;
    if (!m_showHook)
        return false;
    // Tests stand in for the window.
    m_showHook(window);
    return true;
}

void WindowCommands::showListPreview(const QString& listText, const QString& jobName)
{
    // The lists are plain text laid out in columns: a fixed-pitch font keeps them.
    RichTextDocument document;
    document.setFontName(QStringLiteral("Courier New"));
    document.setText(listText);
    ShowPreview(m_state, document, &m_main, jobName);
}

bool WindowCommands::dispatch(const QString& key)
{
    const struct {
        const char* key;
        void (WindowCommands::*run)();
    } table[] = {
        {"preview_ts", &WindowCommands::previewTrackSheet},
        {"songdetails", &WindowCommands::songDetails},
        {"sessiondetails", &WindowCommands::sessionDetails},
        {"display_songdetails", &WindowCommands::displaySongDetails},
        {"edit_songstyle", &WindowCommands::editSongStyle},
        {"recdev_details", &WindowCommands::recdevDetails},
        {"tape_details", &WindowCommands::tapeDetails},
        {"lyrics", &WindowCommands::lyrics},
        {"general_info", &WindowCommands::generalInfo},
        {"print", &WindowCommands::print},
        {"setup_printer", &WindowCommands::setupPrinter},
        {"settings", &WindowCommands::settings},
        {"about", &WindowCommands::about},
    };
    for (const auto& entry : table) {
        if (key == QLatin1String(entry.key)) {
            (this->*entry.run)();
            return true;
        }
    }
    return false;
}

void WindowCommands::previewTrackSheet()
{
    m_main.readSongDetails();
    if (opened("trfrm1"))
        return;
    TrackSheetWindow window(m_state, &m_main);
    window.setTrackFont(m_main.trackBoxFont());
    window.exec();
}

void WindowCommands::songDetails()
{
    m_main.readSongDetails();
    if (!opened("songdetails")) {
        SongInfoDialog dialog(m_state, &m_main);
        QObject::connect(&dialog, &SongInfoDialog::noteRequested, &dialog, [this, &dialog] {
            SongInfoNoteDialog note(m_state, &dialog);
            note.exec();
        });
        dialog.exec();
    }
    m_main.loadSong();
}

void WindowCommands::sessionDetails()
{
    m_main.readSongDetails();
    SongDetails& details = m_state.currentSongDetails;
    // What the store is to still hold when the edits are stored.
    QStringList asRead = SessionInfoDialog::sessionTexts(details);
    for (;;) {
        // The dialog edits the producers and technicians of currentSongDetails.
        if (!opened("sessiondetails")) {
            SessionInfoDialog dialog(m_state, &m_main);
            dialog.setStoredTexts(asRead);
            dialog.exec();
        }
        if (!m_state.songLoaded())
            return;
        const QStringList typed = SessionInfoDialog::sessionTexts(details);
        QVariantMap edited;
        QVariantMap expected;
        for (int i = 0; i < typed.size(); ++i) {
            edited.insert(SessionInfoDialog::kStoredFields.at(i), typed.at(i));
            expected.insert(SessionInfoDialog::kStoredFields.at(i), asRead.at(i));
        }
        const QString title = m_state.currentSong;
        if (m_state.songs.updateFields(title, edited, expected))
            return;
        if (!m_state.songs.changedElsewhere()) {
            m_state.prompter.critical(&m_main, m_state.songs.lastError());
            return;
        }
        // Another room changed them since: told, and the window shown again
        // with the stored texts where nothing was typed.
        bool gone = false;
        const QString why = changedelsewhere::refusalText(m_state.songs, title, &gone);
        m_state.prompter.message(&m_main, why, kApplicationTitle, Prompter::Icon::Warning);
        if (gone)
            return;
        m_main.readSongDetails();
        const QStringList stored = SessionInfoDialog::sessionTexts(details);
        QStringList shown;
        for (int i = 0; i < typed.size(); ++i)
            shown << (typed.at(i) == asRead.at(i) ? stored.at(i) : typed.at(i));
        SessionInfoDialog::setSessionTexts(details, shown);
        asRead = stored;
    }
}

void WindowCommands::displaySongDetails()
{
    m_main.readSongDetails();
    m_state.currentSongDetails.deviceName = m_main.deviceLabelText(m_state.currentDeviceIndex);
    showSongDetailsPreview();
    m_main.loadSong();
}

void WindowCommands::detailsButton()
{
    m_main.readSongDetails();
    m_state.currentSongDetails.deviceName = m_main.deviceLabelText(m_state.currentDeviceIndex);
    showSongDetailsPreview();
}

void WindowCommands::showSongDetailsPreview()
{
    if (opened("songdetails_preview"))
        return;
    SongDetailsPreview preview(m_state, &m_main);
    preview.exec();
}

void WindowCommands::editSongStyle()
{
    if (opened("styles"))
        return;
    StyleWindow window(m_state, &m_main);
    window.exec();
}

void WindowCommands::recdevDetails()
{
    deviceLabelDoubleClicked(m_state.currentDeviceIndex);
}

void WindowCommands::tapeDetails()
{
    tapeDetails(QString());
}

void WindowCommands::tapeDetails(const QString& medium)
{
    if (opened("frmTape"))
        return;
    TapeWindow window(m_state, &m_main);
    window.setShowPreview(
        [this](const QString& text) { showListPreview(text, QStringLiteral("Tapes-HD-CD")); });
    // The tree is filled as the window shows; the medium is chosen after.
    if (!medium.isEmpty())
        QTimer::singleShot(0, &window, [&window, medium] {
            if (const QModelIndex node = window.tree().find(medium); node.isValid())
                window.clickNode(node);
        });
    window.exec();
}

void WindowCommands::lyrics()
{
    m_main.readSongDetails();
    m_state.lyricsWindowOpen = true;
    if (opened("lyrics"))
        return;
    if (m_lyrics) {
        // One lyrics window at a time; it follows the newly loaded song.
        m_lyrics->reopenForCurrentSong();
        m_lyrics->show();
        m_lyrics->raise();
        return;
    }
    m_lyrics = LyricsWindow::openModeless(m_state);
    // "Show Quillon" is the restore of a double-click on the tray icon.
    QObject::connect(m_lyrics.data(), &LyricsWindow::showMainWindowRequested, &m_main,
                     [this] { m_main.tray().doubleClicked(); });
}

void WindowCommands::showLyricsModal()
{
    m_main.readSongDetails();
    if (opened("lyrics_modal"))
        return;
    if (m_lyrics) {
        // Printing goes through the window that is already open.
        m_lyrics->reopenForCurrentSong();
        m_lyrics->show();
        m_lyrics->raise();
        m_lyrics->activateWindow();
        return;
    }
    LyricsWindow::openModal(m_state, &m_main);
}

void WindowCommands::generalInfo()
{
    if (opened("general_info"))
        return;
    GeneralInfoWindow window(m_state, &m_main);
    window.exec();
}

void WindowCommands::print()
{
    if (opened("frmPrinter"))
        return;
    PrintDialog dialog(m_state, &m_main);
    PrintDialog::Handlers handlers;
    handlers.trackSheetPrintOptions = [this] {
        m_main.readSongDetails();
        PrintTSOptionsDialog options(m_state, &m_main);
        options.exec();
    };
    handlers.songDetailsPreview = [this] {
        m_main.readSongDetails();
        m_state.currentSongDetails.deviceName = m_main.deviceLabelText(m_state.currentDeviceIndex);
        showSongDetailsPreview();
    };
    handlers.lyricsEditor = [this] { showLyricsModal(); };
    handlers.deviceWindow = [this] {
        // The dialog has named the current device; the form may rename it.
        const int slot = showDeviceWindow(m_state.currentDeviceIndex);
        if (slot >= 1 && slot <= m_state.deviceNames.size()) {
            m_state.deviceNames[slot - 1] = m_state.currentDeviceName;
            m_main.showDeviceName(slot);
        }
    };
    dialog.setHandlers(handlers);
    dialog.exec();
}

void WindowCommands::setupPrinter()
{
    m_main.focusDefaultButton();
    QCoreApplication::processEvents();
    if (opened("printer_setup"))
        return;
    CupsPrinters printers;
    PrinterSetupDialog dialog(printers, m_state.prompter, &m_main);
    dialog.exec();
}

void WindowCommands::settings()
{
    if (opened("settings"))
        return;
    OptionsDialog dialog(m_state, &m_main);
    dialog.exec();
}

void WindowCommands::about()
{
    if (opened("frmInfo"))
        return;
    AboutBox box(m_state.data.dir(), &m_main);
    box.exec();
}

void WindowCommands::deviceLabelDoubleClicked(int slot)
{
    if (slot < 1 || slot > m_state.deviceNames.size())
        return;
    m_state.currentDeviceName = m_state.deviceNames.at(slot - 1);
    // The window may change currentDeviceName.
    showDeviceWindow(slot);
    m_state.deviceNames[slot - 1] = m_state.currentDeviceName;
    m_main.showDeviceName(slot);
}

void WindowCommands::editDevice()
{
    const int slot = m_state.currentDeviceIndex;
    if (slot < 1 || slot > m_state.deviceNames.size())
        return;
    m_state.currentDeviceName = m_state.deviceNames.at(slot - 1);
    showDeviceWindow(slot);
    m_state.deviceNames[slot - 1] = m_state.currentDeviceName;
    // A renamed device must not keep its old name on the labels.
    m_main.showDeviceName(slot);
}

int WindowCommands::showDeviceWindow(int slot)
{
    if (opened("frmRecDev"))
        return slot;
    RecDevWindow window(m_state, &m_main, slot);
    window.setShowPreview(
        [this](const QString& text) { showListPreview(text, QStringLiteral("Recordingdevices")); });
    window.exec();
    return window.editedSlot();
}

FloatingBar& WindowCommands::bar()
{
    if (m_bar)
        return *m_bar;
    // No parent widget, so the bar is no child window of the main window;
    // it is owned by it instead, except while the main window is minimised.
    m_bar = std::make_unique<FloatingBar>(m_state);
    FloatingBar* bar = m_bar.get();
    bar->setOwner(&m_main);
    bar->setShowPreview(
        [this](const QString& text) { showListPreview(text, QStringLiteral("Recordingdevices")); });
    QObject::connect(bar, &FloatingBar::slotSelected, &m_main,
                     [this](int slot) { m_main.selectorClicked(slot + 10); });
    QObject::connect(bar, &FloatingBar::bankSelected, &m_main,
                     [this](int bank) { m_main.bankClicked(bank); });
    QObject::connect(bar, &FloatingBar::deviceRenamed, &m_main, [this](int slot) {
        m_main.showDeviceName(slot, FloatingBar::kEditedNameLength);
    });
    QObject::connect(bar, &FloatingBar::dockRequested, &m_main, [this] {
        // The bar has hidden itself; the main window takes its panel back.
        if (m_floatingBarVisible)
            m_main.toggleDevicesBar();
    });
    // cmdShowQuillon is the restore of a double-click on the tray icon.
    QObject::connect(bar, &FloatingBar::showMainRequested, &m_main,
                     [this] { m_main.tray().doubleClicked(); });
    return *m_bar;
}

void WindowCommands::showFloatingBar()
{
    m_floatingBarVisible = true;
    if (opened("devices_bar"))
        return;
    FloatingBar& b = bar();
    b.setSongTitle(m_state.currentSong);
    b.setDeviceNames(m_state.deviceNames);
    b.setSelectedSlot(m_state.currentDeviceIndex);
    b.setBank(m_state.currentTrackBank);
    const TwipsScale scale = TwipsScale::forWidget(&m_main);
    const BarPlacement place = m_main.devicesBarPlacement();
    const int left = place.left ? scale.toPixels(*place.left) : b.x();
    b.move(left, scale.toPixels(place.top));
    b.show();
    b.raise();
}

void WindowCommands::keepFloatingBarShown()
{
    m_floatingBarVisible = true;
    if (opened("devices_bar"))
        return;
    FloatingBar& b = bar();
    if (!b.isVisible())
        b.show();
}

void WindowCommands::floatingBarFollowsMain(bool mainMinimized)
{
    if (m_bar)
        m_bar->setOwner(mainMinimized ? nullptr : &m_main);
}

void WindowCommands::moveFloatingBarTop(double twips)
{
    if (!m_bar || !m_bar->isVisible())
        return;
    m_bar->move(m_bar->x(), TwipsScale::forWidget(&m_main).toPixels(twips));
}

void WindowCommands::hideFloatingBar()
{
    m_floatingBarVisible = false;
    if (m_bar)
        m_bar->hide();
}

void WindowCommands::closeFloatingBar()
{
    m_floatingBarVisible = false;
    m_bar.reset();
}

void WindowCommands::closeLyricsWindow()
{
    // The window asks about unsaved lyrics and clears the flag as it closes.
    if (m_lyrics)
        m_lyrics->close();
    else
        m_state.lyricsWindowOpen = false;
}

void WindowCommands::keepLyricsWindowShown()
{
    if (m_lyrics)
        m_lyrics->show();
}

QList<NoteWindow*> WindowCommands::documentWindows() const
{
    // The notebook and a lyrics window opened by the print dialog are
    // modal windows of their own commands; only the window list knows them.
    QList<NoteWindow*> windows;
    if (m_lyrics)
        windows << m_lyrics.data();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* note = qobject_cast<NoteWindow*>(w); note && !windows.contains(note))
            windows << note;
    return windows;
}

bool WindowCommands::documentWindowsMayClose()
{
    for (NoteWindow* w : documentWindows()) {
        if (w->confirmDiscard())
            continue;
        if (w->isMinimized())
            w->showNormal();
        w->raise();
        w->activateWindow();
        return false;
    }
    return true;
}

void WindowCommands::saveDocumentWindows()
{
    for (NoteWindow* w : documentWindows())
        if (w->isChanged() && w->isEditable())
            w->save();
}

void WindowCommands::closeDocumentWindows()
{
    for (NoteWindow* w : documentWindows())
        w->closeDiscarding();
}

void WindowCommands::barSelectSlot(int slot)
{
    if (m_bar)
        m_bar->setSelectedSlot(slot);
}

void WindowCommands::barSetDeviceLabel(int slot, const QString& caption)
{
    if (m_bar)
        m_bar->setDeviceName(slot, caption, int(caption.size()));
}

void WindowCommands::barSelectBank(int bank)
{
    if (m_bar)
        m_bar->setBank(bank);
}

void WindowCommands::barEnableShowButton(bool on)
{
    if (m_bar)
        m_bar->setShowMainEnabled(on);
}

void WindowCommands::songRenamed(const QString& oldTitle, const QString& newTitle)
{
    if (m_bar)
        m_bar->setSongTitle(newTitle);
    if (m_lyrics)
        m_lyrics->followRename(oldTitle, newTitle);
}

} // namespace quillon
