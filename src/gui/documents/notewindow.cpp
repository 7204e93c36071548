#include "documents/notewindow.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/screenplacement.h"
#include "common/twipsscale.h"
#include "documents/documenteditor.h"
#include "notebook/notebookstore.h"
#include "printing/showpreview.h"
#include "store/settings.h"

#include <algorithm>
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

namespace quillon {

namespace {

// Smallest window, in twips.
constexpr int kMinWidth = 11130;
constexpr int kMinHeight = 8610;
// Space between "&Exit" and the right edge, in twips.
constexpr int kCloseRightGap = 300;

const QString kFileDialogTitle = QStringLiteral("Save As");
// .docx is what most word processors write today; it comes after the others
// so that the plain-text filter keeps its place as the preselected one.
const QStringList kEndings{QStringLiteral("rtf"), QStringLiteral("doc"), QStringLiteral("txt"),
                           QStringLiteral("docx")};

// Shows the wait cursor while it lives.
class WaitCursor final {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

NoteWindow::NoteWindow(AppState& state, Traits traits, QWidget* parent)
    : QDialog(parent), m_state(state), m_traits(std::move(traits))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    m_menuBar = new QMenuBar(this);
    layout->setMenuBar(m_menuBar);

    const TwipsScale units = TwipsScale::forWidget(this);
    m_topRow = new QHBoxLayout;
    m_topRow->setContentsMargins(0, 0, units.toPixelsX(kCloseRightGap), 0);
    m_topRow->addStretch(1);
    m_close = new QPushButton(QStringLiteral("&Exit"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    m_close->setAutoDefault(false);
    m_topRow->addWidget(m_close);
    layout->addLayout(m_topRow);

    m_editor = new DocumentEditor(m_document, state.prompter, this);
    m_editor->setObjectName(QStringLiteral("TXTextControl1"));
    layout->addWidget(m_editor, 1);

    buildMenus();
    connect(m_close, &QPushButton::clicked, this, &NoteWindow::close);
    connect(&m_document, &RichTextDocument::contentChanged, this, [this] { m_changed = true; });

    setMinimumSize(units.toPixelsX(kMinWidth), units.toPixelsY(kMinHeight));
    restorePlacement();
    // What the user types first goes into the text, not to a button.
    m_editor->textEdit()->setFocus();
}

NoteWindow::~NoteWindow()
{
    // The editor views the document, which goes before the child widgets.
    delete m_editor;
    m_editor = nullptr;
}

QAction* NoteWindow::addMenuAction(QMenu* menu, const QString& name, const QString& text,
                                   const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void NoteWindow::buildMenus()
{
    QMenu* file = m_menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_save = addMenuAction(file, "mnuSave", "Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    m_import = addMenuAction(file, "mnuImport", "&Import...", QKeySequence(Qt::CTRL | Qt::Key_I));
    QAction* exportAction =
        addMenuAction(file, "mnuExport", "&Export...", QKeySequence(Qt::CTRL | Qt::Key_R));
    file->addSeparator();
    QAction* preview = addMenuAction(file, "mnuPreview", "Print pre&view");
    QAction* print = addMenuAction(file, "mnuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    QAction* exit = addMenuAction(file, "mnuExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* edit = m_menuBar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* cut = addMenuAction(edit, "mnuCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X));
    QAction* copy = addMenuAction(edit, "mnuCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* paste = addMenuAction(edit, "mnuPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu* format = m_menuBar->addMenu(QStringLiteral("F&ormat"));
    format->setObjectName(QStringLiteral("mnuFormat"));
    QAction* character = addMenuAction(format, "mnuCharacter", "&Character...");
    // Present but not offered: the paragraph dialog and the zoom switch.
    QAction* paragraph = addMenuAction(format, "mnuParagraph", "Paragraph...");
    paragraph->setVisible(false);
    paragraph->setEnabled(false);
    QAction* zoom = m_menuBar->addAction(QStringLiteral("&Adjust"));
    zoom->setObjectName(QStringLiteral("mnuZoom"));
    zoom->setCheckable(true);
    zoom->setVisible(false);

    connect(m_save, &QAction::triggered, this, [this] { save(); });
    connect(m_import, &QAction::triggered, this, &NoteWindow::importFile);
    connect(exportAction, &QAction::triggered, this, &NoteWindow::exportFile);
    connect(preview, &QAction::triggered, this, [this] { showPreview(windowTitle()); });
    connect(print, &QAction::triggered, this, [this] { printDocument(); });
    connect(exit, &QAction::triggered, this, &NoteWindow::close);
    connect(cut, &QAction::triggered, this,
            [this] { m_editor->clipboardAction(RichTextDocument::ClipboardAction::Cut); });
    connect(copy, &QAction::triggered, this,
            [this] { m_editor->clipboardAction(RichTextDocument::ClipboardAction::Copy); });
    connect(paste, &QAction::triggered, this,
            [this] { m_editor->clipboardAction(RichTextDocument::ClipboardAction::Paste); });
    connect(character, &QAction::triggered, this, [this] { m_editor->showCharacterDialog(); });
}

void NoteWindow::setHeader(QWidget* header)
{
    m_topRow->insertWidget(0, header);
}

void NoteWindow::addButton(QPushButton* button)
{
    button->setAutoDefault(false);
    m_topRow->insertWidget(m_topRow->indexOf(m_close), button);
}

void NoteWindow::showFieldText(const QString& fieldText, bool isNull)
{
    {
        const WaitCursor wait;
        if (isNull) {
            m_document.setText(QString());
        } else if (!m_document.loadBytes(NotebookStore::fieldTextToBytes(fieldText),
                                         DocumentFormat::Native)) {
            // An empty editable window would let Save overwrite the stored
            // text the user cannot see.
            showUnreadable(m_document.lastError());
            return;
        }
    }
    m_editor->textEdit()->moveCursor(QTextCursor::Start);
    m_editor->textEdit()->setReadOnly(false);
    m_editable = true;
    m_save->setEnabled(true);
    m_import->setEnabled(true);
    m_changed = false;
}

void NoteWindow::showUnreadable(const QString& error)
{
    m_document.setText(QString());
    m_editor->textEdit()->setReadOnly(true);
    m_editable = false;
    m_save->setEnabled(false);
    m_import->setEnabled(false);
    m_changed = false;
    m_state.prompter.critical(this, error);
}

bool NoteWindow::save()
{
    if (!m_editable)
        return false;
    QString error;
    bool stored = false;
    {
        const WaitCursor wait;
        // Beyond what a read accepts the text stays in the window, unstored,
        // rather than being stored where it could never be opened again.
        QByteArray bytes;
        if (m_document.storedBytes(&bytes, &error))
            stored = storeFieldText(NotebookStore::bytesToFieldText(bytes), error);
    }
    if (!stored) {
        qCWarning(lcDocuments) << "storing" << windowTitle() << "failed:" << error;
        m_state.prompter.critical(this, error);
        return false;
    }
    m_changed = false;
    return true;
}

std::optional<DocumentFormat> NoteWindow::formatOfName(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".docx")))
        return DocumentFormat::Word; // the writer picks Open XML by the name
    const QString ending = fileName.right(3);
    if (ending == QLatin1String("doc"))
        return DocumentFormat::Word;
    if (ending == QLatin1String("rtf"))
        return DocumentFormat::Rtf;
    if (ending == QLatin1String("txt"))
        return DocumentFormat::Text;
    return std::nullopt;
}

QString NoteWindow::askFileName(bool forSaving)
{
    QString label = filterLabel();
    // ";;" separates filters; a label must not split its own.
    label.replace(';', ',');
    QStringList filters;
    for (const QString& ending : kEndings)
        filters << (label.isEmpty() ? QString() : label + ' ') + "(*." + ending + ')';
    const int preselected = kEndings.contains(m_traits.defaultExtension)
                                ? kEndings.indexOf(m_traits.defaultExtension)
                                : kEndings.indexOf("txt");
    QString selected = filters.at(preselected);

    const QString dir = forSaving ? exportFolder() : importFolder();
    if (!QDir().mkpath(dir))
        qCWarning(lcDocuments) << "cannot create" << dir;
    const QString joined = filters.join(QStringLiteral(";;"));
    QString name =
        forSaving ? m_state.prompter.saveFileName(this, kFileDialogTitle, dir, joined, &selected)
                  : m_state.prompter.openFileName(this, kFileDialogTitle, dir, joined, &selected);
    // A name typed without an ending gets the one of the chosen filter.
    if (forSaving && !name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
        const int index = std::max(0, int(filters.indexOf(selected)));
        name += '.' + kEndings.at(filters.contains(selected) ? index : preselected);
    }
    return name;
}

void NoteWindow::importFile()
{
    if (!m_editable)
        return;
    const QString name = askFileName(false);
    if (name.isEmpty())
        return;
    const std::optional<DocumentFormat> format = formatOfName(name);
    if (!format) {
        m_state.prompter.critical(this, QStringLiteral("Unknown file format!"));
        return;
    }
    if (!confirmDiscard())
        return;
    bool loaded = false;
    {
        const WaitCursor wait;
        loaded = m_document.loadFile(name, *format);
    }
    if (!loaded) {
        // The document keeps what it had; say why rather than pretend.
        qCWarning(lcDocuments) << "import failed:" << name << m_document.lastError();
        m_state.prompter.critical(this, m_document.lastError());
        return;
    }
    m_editor->textEdit()->moveCursor(QTextCursor::Start);
    m_changed = m_traits.importMarksChanged;
    // Read, but not quite as the file stands (tracked changes accepted).
    if (!m_document.lastNotice().isEmpty())
        m_state.prompter.information(this, m_document.lastNotice());
}

void NoteWindow::exportFile()
{
    const QString name = askFileName(true);
    if (name.isEmpty())
        return;
    const std::optional<DocumentFormat> format = formatOfName(name);
    if (!format) {
        m_state.prompter.critical(this, QStringLiteral("Error while saving!"));
        return;
    }
    bool saved = false;
    {
        const WaitCursor wait;
        saved = m_document.saveFile(name, *format);
    }
    if (!saved) {
        qCWarning(lcDocuments) << "export failed:" << name << m_document.lastError();
        m_state.prompter.critical(this,
                                  QStringLiteral("Error while saving!\r") + m_document.lastError());
    }
}

void NoteWindow::showPreview(const QString& jobName)
{
    ShowPreview(m_state, m_document, this, jobName);
    m_editor->textEdit()->setFocus();
}

void NoteWindow::restorePlacement()
{
    const Placement fallback{10, 10, kMinWidth, kMinHeight};
    const QRect pixels =
        restoredPlacement(m_state.settings.placement(m_traits.placementPrefix, fallback), fallback,
                          TwipsScale::forWidget(this));
    resize(pixels.size());
    move(pixels.topLeft());
}

void NoteWindow::storePlacement()
{
    m_state.settings.setPlacement(m_traits.placementPrefix,
                                  windowPlacement(*this, TwipsScale::forWidget(this)));
}

bool NoteWindow::confirmDiscard()
{
    // A stray Enter must not throw the text away: the default keeps it.
    if (!m_changed || m_state.prompter.askYesNo(this,
                                                m_traits.changedText +
                                                    QStringLiteral("\rDo you want to exit anyway?"),
                                                {}, QMessageBox::No))
        return true;
    m_editor->textEdit()->setFocus();
    return false;
}

void NoteWindow::closeDiscarding()
{
    m_discardAgreed = true;
    close();
}

void NoteWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!m_discardAgreed && !confirmDiscard()) {
        event->ignore();
        return;
    }
    m_closing = true;
    storePlacement();
    aboutToClose();
    Q_EMIT closed();
    // Ends exec() when shown modally; hides the window either way.
    QDialog::reject();
    event->accept();
}

void NoteWindow::reject()
{
    // Every way out goes through the closing question.
    close();
}

void NoteWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close an editor window: work would be one key away.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quillon
