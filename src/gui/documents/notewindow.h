#pragma once

#include "documents/documentformat.h"
#include "documents/richtextdocument.h"

#include <optional>
#include <QDialog>
#include <QKeySequence>

class QAction;
class QHBoxLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QVBoxLayout;

namespace quillon {

struct AppState;
class DocumentEditor;

// What the lyrics editor and the general notebook have in common: one
// formatted document with its bars, the File, Edit, Format and Adjust menus,
// storing the document one character per byte, import and export by file
// ending, the changed flag with its question on closing, and the window's
// place in the settings store.
//
// The window is a dialog so that it can be shown modeless (show()) or
// modally (exec()); either way it only goes away through close(), which asks
// before unsaved changes are dropped.
class NoteWindow : public QDialog {
    Q_OBJECT

public:
    ~NoteWindow() override;

    RichTextDocument& document() { return m_document; }
    DocumentEditor* editor() const { return m_editor; }
    bool isChanged() const { return m_changed; }
    // False when the stored document could not be read: the window then
    // shows nothing and refuses to store, so the stored text is never
    // overwritten by an empty one.
    bool isEditable() const { return m_editable; }

    // "Save": stores the document; a failure is shown and keeps the flag.
    bool save();
    // "&Import..." and "&Export...". An import over unsaved changes asks
    // the closing question first; No keeps the text.
    void importFile();
    void exportFile();

    // The closing question, asked only when there are unsaved changes:
    // true when they may be dropped. Asks nothing else and closes nothing.
    bool confirmDiscard();
    // Closes without asking again: the user has already agreed to drop the
    // changes (the program is ending).
    void closeDiscarding();

    // The format the last three characters of a file name stand for,
    // compared exactly: "doc", "rtf" and "txt".
    static std::optional<DocumentFormat> formatOfName(const QString& fileName);

Q_SIGNALS:
    // The user agreed to close; the window is about to go.
    void closed();

protected:
    // The texts and keys that set the two windows apart.
    struct Traits {
        QString placementPrefix;  // four geometry keys, in twips
        QString changedText;      // first line of the closing question
        QString defaultExtension; // "txt", "rtf" or "doc"
        bool importMarksChanged = false;
    };

    NoteWindow(AppState& state, Traits traits, QWidget* parent);

    // Stores the document's field text; on failure says why in `error`.
    virtual bool storeFieldText(const QString& fieldText, QString& error) = 0;
    // The label put before each file filter (may be empty).
    virtual QString filterLabel() const = 0;
    virtual QString importFolder() const = 0;
    virtual QString exportFolder() const = 0;
    // "&Print".
    virtual void printDocument() = 0;
    // Runs once the closing has been agreed, before the window hides.
    virtual void aboutToClose() {}

    AppState& state() const { return m_state; }
    QPushButton* closeButton() const { return m_close; }
    // Shows a stored field (null: an empty document); the window is clean.
    void showFieldText(const QString& fieldText, bool isNull);
    // Nothing readable: an empty document the window will not store.
    void showUnreadable(const QString& error);
    // The area above the document (the song panels), left of the buttons.
    void setHeader(QWidget* header);
    // A button placed left of "&Exit".
    void addButton(QPushButton* button);
    // The preview of the document under the given print job name.
    void showPreview(const QString& jobName);

    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    QAction* addMenuAction(QMenu* menu, const QString& name, const QString& text,
                           const QKeySequence& shortcut = {});
    QString askFileName(bool forSaving);
    void restorePlacement();
    void storePlacement();

    AppState& m_state;
    Traits m_traits;
    RichTextDocument m_document;
    DocumentEditor* m_editor = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QHBoxLayout* m_topRow = nullptr;
    QPushButton* m_close = nullptr;
    QAction* m_save = nullptr;
    QAction* m_import = nullptr;
    bool m_changed = false;
    bool m_editable = true;
    bool m_closing = false;
    bool m_discardAgreed = false;
};

} // namespace quillon
