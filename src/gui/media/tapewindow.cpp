#include "media/tapewindow.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/screenplacement.h"
#include "media/mediaicons.h"
#include "media/mediastore.h"
#include "media/waitcursor.h"
#include "songs/songstore.h"
#include "store/catalogueevents.h"
#include "store/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

namespace quillon {

namespace {
const QString kBlankCounter = QStringLiteral("000");
const QString kBlankTime = QStringLiteral("00:00:00");
constexpr int kLargePicture = 48;
} // namespace

TapeWindow::TapeWindow(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_tree(this), m_list(state, this)
{
    setObjectName("frmTape");
    setModal(true);
    setWindowTitle(MediaTree::rootText());
    WaitCursor wait;
    m_ui.setup(this);
    m_ui.tree->setModel(m_tree.model());
    connectControls();

    const Placement defaults{10, 10, double(TapeWindowUi::kMinWidthTwips),
                             double(TapeWindowUi::kMinHeightTwips)};
    const QRect at = restoredPlacement(m_state.settings.placement("Tape", defaults), defaults,
                                       TwipsScale::forWidget(this));
    move(at.topLeft());
    resize(at.size());

    m_ui.deleteButton->setEnabled(false);
    m_ui.saveButton->setEnabled(false);
    showCount(MediaStore(m_state.data).count());
    m_lastIndex = m_curIndex = m_tree.root();
    if (state.events)
        connect(state.events, &CatalogueEvents::changed, this,
                [this](const QString& kind, const QString& subject) {
                    if (kind == CatalogueEvents::kMedia)
                        mediaChangedElsewhere(subject);
                });
}

TapeWindow::~TapeWindow() = default;

void TapeWindow::setShowPreview(MediaListCommands::PreviewHook hook)
{
    if (!hook) {
        m_list.setShowPreview({});
        return;
    }
    // Coming back from the preview is a new activation: it rebuilds the tree.
    m_list.setShowPreview([this, hook = std::move(hook)](const QString& text) {
        const bool was = m_prompting;
        m_prompting = false;
        hook(text);
        m_prompting = was;
    });
}

void TapeWindow::whilePrompting(const std::function<void()>& work)
{
    const bool was = m_prompting;
    m_prompting = true;
    work();
    m_prompting = was;
}

void TapeWindow::connectControls()
{
    connect(m_ui.tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(m_ui.fields[0], &QLineEdit::textChanged, this, &TapeWindow::onNameEdited);
    for (int i = 1; i < TapeWindowUi::kFieldCount; ++i)
        connect(m_ui.fields[i], &QLineEdit::textChanged, this, &TapeWindow::onDetailEdited);
    connect(m_ui.type, &QComboBox::currentTextChanged, this, &TapeWindow::onTypeEdited);
    connect(m_ui.separated, &QCheckBox::clicked, this, &TapeWindow::onSeparatedClicked);
    connect(m_ui.songs, &QListWidget::currentRowChanged, this, &TapeWindow::onSongChosen);
    connect(m_ui.newButton, &QPushButton::clicked, this, &TapeWindow::onNew);
    connect(m_ui.saveButton, &QPushButton::clicked, this, &TapeWindow::onSave);
    connect(m_ui.deleteButton, &QPushButton::clicked, this, &TapeWindow::onDelete);
    connect(m_ui.exitButton, &QPushButton::clicked, this, &TapeWindow::close);
    // The list commands' message boxes are ours too (see ask()); only the
    // preview they open is another window.
    connect(m_ui.exportButton, &QPushButton::clicked, this,
            [this] { whilePrompting([this] { m_list.exportList(); }); });
    connect(m_ui.previewButton, &QPushButton::clicked, this,
            [this] { whilePrompting([this] { m_list.preview(); }); });
    connect(m_ui.printButton, &QPushButton::clicked, this,
            [this] { whilePrompting([this] { m_list.print(); }); });
}

QMessageBox::StandardButton TapeWindow::ask(const QString& text, const QString& title,
                                            Prompter::Icon icon,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton)
{
    // Our own boxes take the activation away and give it back; that return
    // is no reason to rebuild the tree.
    const bool outer = !m_prompting;
    m_prompting = true;
    const auto answer = m_state.prompter.message(this, text, title, icon, buttons, defaultButton);
    if (outer)
        m_prompting = false;
    return answer;
}

// --- activation, showing, closing -------------------------------------------

void TapeWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        loadTree();
        m_loading = false;
    }
}

bool TapeWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        // Another window of the program came to the front (not a box of ours).
        if (!m_prompting && QApplication::activeWindow() && QApplication::activeWindow() != this)
            m_rebuildOnActivate = true;
    } else if (event->type() == QEvent::WindowActivate && m_rebuildOnActivate) {
        m_rebuildOnActivate = false;
        reload();
    }
    return QDialog::event(event);
}

void TapeWindow::reload()
{
    if (m_adding || m_altered || m_nameChanged) {
        // Rebuilding would throw away what was typed; the window comes back
        // as it was left, under its own caption.
        setWindowTitle(MediaTree::rootText());
        return;
    }
    loadTree();
    m_loading = false;
}

void TapeWindow::mediaChangedElsewhere(const QString& medium)
{
    m_shownMediumChanged =
        m_shownMediumChanged || medium.isEmpty() || medium.trimmed() == m_storedName.trimmed();
    if (m_treeRefreshDue)
        return;
    m_treeRefreshDue = true;
    QTimer::singleShot(0, this, &TapeWindow::refreshTree);
}

void TapeWindow::refreshTree()
{
    m_treeRefreshDue = false;
    if (!m_shown || m_adding || m_altered || m_nameChanged) {
        m_treeStale = true;
        return;
    }
    MediaStore store(m_state.data);
    const QList<Medium> media = store.treeEntries();
    if (!store.lastError().isEmpty()) {
        // The next change or activation tries again; no box for a refresh
        // nobody asked for.
        qCWarning(lcMedia) << "media tree not refreshed:" << store.lastError();
        return;
    }
    m_treeStale = false;
    const bool mediumShown = m_tree.isMedium(m_lastIndex);
    m_selecting = true;
    m_tree.update(media); // the shown node, if still there, stays current
    m_selecting = false;
    showCount(int(media.size()));
    if (mediumShown && !m_tree.isMedium(m_lastIndex)) {
        // Deleted elsewhere: back to the root, as after a deletion here.
        selectNode(m_tree.root());
        fillTreeView(m_tree.root());
        m_lastIndex = m_curIndex = m_tree.root();
    } else if (mediumShown && m_shownMediumChanged) {
        fillTreeView(m_lastIndex);
    }
    m_shownMediumChanged = false;
}

void TapeWindow::catchUpTree()
{
    if (m_treeStale && !m_treeRefreshDue) {
        m_treeRefreshDue = true;
        QTimer::singleShot(0, this, &TapeWindow::refreshTree);
    }
}

void TapeWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_ui.arrange(size());
}

void TapeWindow::reject()
{
    if (!mayClose())
        return;
    storePlacement();
    QDialog::reject();
}

bool TapeWindow::mayClose()
{
    // Adding is named first: its message says what the user is really doing.
    if (m_adding) {
        ask(QStringLiteral("You cannot exit the program because you are entering a new item."),
            windowTitle(), Prompter::Icon::Critical, QMessageBox::Ok, QMessageBox::Ok);
        m_ui.fields[0]->setFocus();
        return false;
    }
    const bool mediumShown = m_tree.isMedium(m_lastIndex);
    if (m_nameChanged || (mediumShown && m_ui.fields[0]->text().trimmed().isEmpty())) {
        ask(QStringLiteral("You cannot exit the program because you are editing an item."),
            windowTitle(), Prompter::Icon::Critical, QMessageBox::Ok, QMessageBox::Ok);
        m_ui.fields[0]->setFocus();
        return false;
    }
    if (m_altered) {
        onSave();
        return !m_altered; // a failed save keeps the window open, nothing is lost
    }
    return true;
}

void TapeWindow::storePlacement()
{
    m_state.settings.setPlacement("Tape", windowPlacement(*this, TwipsScale::forWidget(this)));
}

// --- the tree ---------------------------------------------------------------

void TapeWindow::loadTree()
{
    setWindowTitle(MediaTree::rootText());
    m_ui.hideAll->show();
    m_ui.hideAll->raise();
    WaitCursor wait;
    m_selecting = true;
    m_tree.clear();
    MediaStore store(m_state.data);
    if (!store.databaseExists()) {
        m_selecting = false;
        wait.restore();
        ask(QStringLiteral("No database available"), QStringLiteral("ERROR"),
            Prompter::Icon::Critical, QMessageBox::Ok, QMessageBox::Ok);
        m_lastIndex = m_curIndex = m_tree.root();
        setRootButtons();
        return;
    }
    const QList<Medium> media = store.treeEntries();
    if (!store.lastError().isEmpty()) {
        wait.restore();
        ask(store.lastError(), QStringLiteral("ERROR"), Prompter::Icon::Critical, QMessageBox::Ok,
            QMessageBox::Ok);
    }
    if (!media.isEmpty())
        showCount(int(media.size()));
    m_tree.fill(media);
    m_ui.tree->expandAll();
    m_ui.tree->setCurrentIndex(m_tree.root());
    m_selecting = false;
    m_lastIndex = m_curIndex = m_tree.root();
    m_ui.tree->setFocus();
    setRootButtons();
    m_altered = m_nameChanged = false;
    m_treeStale = m_shownMediumChanged = false;
}

void TapeWindow::selectNode(const QModelIndex& node)
{
    m_selecting = true;
    m_ui.tree->setCurrentIndex(node);
    m_selecting = false;
}

void TapeWindow::clickNode(const QModelIndex& node)
{
    if (m_ui.tree->currentIndex() == node)
        nodeClicked(node);
    else
        m_ui.tree->setCurrentIndex(node);
}

void TapeWindow::onCurrentChanged(const QModelIndex& current)
{
    if (!m_selecting && current.isValid())
        nodeClicked(current);
}

void TapeWindow::nodeClicked(const QModelIndex& node)
{
    if (m_adding)
        return;
    m_curIndex = node;
    if (m_nameChanged || m_altered) {
        m_checkFailed = false;
        checkNameEmpty();
        checkNameSame();
        m_checkFailed = false; // the failed check put the stored name back
    }
    const bool medium = m_tree.isMedium(node);
    m_ui.deleteButton->setEnabled(medium);
    m_ui.saveButton->setEnabled(medium);
    if (m_nameChanged || m_altered) {
        const QString left = m_tree.text(m_lastIndex);
        const auto answer = ask(QStringLiteral("Item \r") + left +
                                    QStringLiteral("\rnot saved. Do you want to save the changes?"),
                                QStringLiteral("Delete item"), Prompter::Icon::Question,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            const QPersistentModelIndex target = node;
            if (m_tree.isMedium(m_lastIndex) && !writeBack(m_lastIndex)) {
                // The left medium could not be written: stay with it so
                // nothing typed is lost.
                selectNode(m_lastIndex);
                m_curIndex = m_lastIndex;
                setMediumButtons();
                return;
            }
            m_altered = m_nameChanged = false;
            fillTreeView(target);
            selectNode(target);
            m_lastIndex = m_curIndex = target;
            return;
        }
        discardPending();
    }
    fillTreeView(node);
    m_lastIndex = node;
}

void TapeWindow::fillTreeView(const QModelIndex& node)
{
    resetPositions();
    if (!m_tree.isMedium(node)) {
        m_ui.hideAll->show();
        m_ui.hideAll->raise();
        setRootButtons();
        m_lastIndex = m_tree.root();
        m_ui.panels[1]->clear();
        return;
    }
    const QString name = m_tree.text(node).trimmed();
    m_filling = true;
    m_ui.songs->clear();
    const QStringList titles = m_state.songs.titlesOnMedium(name);
    m_ui.songs->addItems(titles);
    m_filling = false;
    if (!titles.isEmpty()) {
        m_ui.songs->setCurrentRow(0);
        showPosition(titles.first());
    }
    MediaStore store(m_state.data);
    std::optional<Medium> medium = store.find(m_tree.text(node));
    if (!medium)
        medium = store.find(name);
    m_asRead = medium;
    if (!medium) {
        if (!store.lastError().isEmpty())
            ask(store.lastError(), windowTitle(), Prompter::Icon::Critical, QMessageBox::Ok,
                QMessageBox::Ok);
        return;
    }
    m_filling = true;
    const QString values[TapeWindowUi::kFieldCount] = {
        medium->name,    medium->brand,          medium->serialNumber, medium->length,
        medium->maxTime, medium->noiseReduction, medium->enteredOn,    medium->separatedOn};
    for (int i = 0; i < TapeWindowUi::kFieldCount; ++i)
        m_ui.fields[i]->setText(values[i]);
    const int type = medium->typeNumber();
    if (type >= 1 && type <= media::kTypeCount)
        m_ui.type->setCurrentIndex(type - 1);
    else
        m_ui.type->setEditText(medium->type);
    m_ui.separated->setChecked(medium->isSeparated());
    m_filling = false;
    m_tree.setPicture(node, medium->icon());
    setPicture(medium->icon());
    m_storedPicture = medium->icon();
    m_storedName = medium->name;
    m_storedType = medium->type;
    m_ui.panels[1]->setText(medium->name);
    m_ui.hideAll->hide();
    m_altered = m_nameChanged = false;
    setMediumButtons();
}

void TapeWindow::resetPositions()
{
    const QString blanks[5] = {kBlankCounter, kBlankCounter, kBlankTime, kBlankTime, kBlankTime};
    for (int i = 0; i < 5; ++i)
        m_ui.positions[i]->setText(blanks[i]);
}

void TapeWindow::showPosition(const QString& title)
{
    const auto song = m_state.songs.song(title.trimmed());
    if (!song)
        return;
    const char* fields[5] = {"BandZählWerkVon", "BandZählWerkBis", "BandzeitVon", "BandzeitBis",
                             "SMPTEZeit"};
    for (int i = 0; i < 5; ++i)
        m_ui.positions[i]->setText(song->text(QString::fromUtf8(fields[i])));
}

void TapeWindow::onSongChosen()
{
    if (m_filling)
        return;
    resetPositions();
    if (QListWidgetItem* item = m_ui.songs->currentItem())
        showPosition(item->text());
}

// --- pictures, buttons, count -----------------------------------------------

void TapeWindow::setPicture(int picture)
{
    m_detailPicture = picture;
    m_ui.picture->setPixmap(MediaIcons::picture(picture, kLargePicture));
}

void TapeWindow::setRootButtons()
{
    m_ui.deleteButton->setEnabled(false);
    m_ui.saveButton->setEnabled(false);
    m_ui.exitButton->setEnabled(true);
    m_ui.newButton->setEnabled(true);
}

void TapeWindow::setMediumButtons()
{
    m_ui.deleteButton->setEnabled(true);
    m_ui.saveButton->setEnabled(true);
    m_ui.exitButton->setEnabled(true);
    m_ui.newButton->setEnabled(true);
}

void TapeWindow::showCount(int count)
{
    m_itemCount = count;
    m_ui.count->setText(QString::number(count));
    m_ui.count->adjustSize();
    m_ui.panels[2]->setText(QStringLiteral("Items: ") + QString::number(count));
}

QString TapeWindow::today() const
{
    // The short date of the regional settings where it fits the date boxes;
    // longer forms ("2026. 12. 09.") would lose the day, so they give way to
    // mm-dd-yyyy, as the dates the program prints.
    const QDate date = QDate::currentDate();
    const QString local = QLocale().toString(date, QLocale::ShortFormat);
    if (!local.isEmpty() && local.size() <= m_ui.fields[6]->maxLength())
        return local;
    return date.toString(QStringLiteral("MM-dd-yyyy"));
}

} // namespace quillon
