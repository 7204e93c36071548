#pragma once

#include "common/prompter.h"
#include "media/medialistcommands.h"
#include "media/mediatree.h"
#include "media/medium.h"
#include "media/tapewindowui.h"

#include <functional>
#include <optional>
#include <QDialog>
#include <QPersistentModelIndex>

namespace quillon {

struct AppState;
struct Medium;

// The media library window (object name "frmTape"): the media tree, the
// details of the chosen medium, the songs on it, and the media list commands.
// Modal; the caller creates it, sets the preview hook and runs exec():
//
//     TapeWindow w(state, this);
//     w.setShowPreview([&](const QString& text) { /* open the print preview */ });
//     w.exec();
//
// Every activation after another window of the program was in front (the
// print preview, for example) rebuilds the tree and returns to the root;
// the program's own message boxes do not count. While an edit or a new
// medium waits to be stored, the window comes back as it was left instead,
// so that nothing typed is lost unasked.
class TapeWindow final : public QDialog {
    Q_OBJECT
public:
    explicit TapeWindow(AppState& state, QWidget* parent = nullptr);
    ~TapeWindow() override;

    void setShowPreview(MediaListCommands::PreviewHook hook);

    // For tests and tools: the parts of the window.
    const TapeWindowUi& ui() const { return m_ui; }
    const MediaTree& tree() const { return m_tree; }
    QModelIndex shownNode() const { return m_lastIndex; }
    int detailPicture() const { return m_detailPicture; }
    bool isAdding() const { return m_adding; }
    bool hasPendingEdits() const { return m_altered || m_nameChanged; }
    QString listText() const { return m_list.text(); }
    // Selects a node as a click on it does.
    void clickNode(const QModelIndex& node);
    // The tree rebuilt as on activation (kept as it is while edits wait).
    void reload();
    // Another room changed the media (`medium` names one, empty: any): the
    // tree shows them at the next turn of the event loop, keeping the
    // shown medium chosen, or waits while an edit or a new medium does.
    void mediaChangedElsewhere(const QString& medium);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    void connectControls();
    void loadTree();
    void onCurrentChanged(const QModelIndex& current);
    void nodeClicked(const QModelIndex& node);
    void fillTreeView(const QModelIndex& node);
    void showPosition(const QString& title);
    void resetPositions();
    bool saveTreeView();
    bool writeBack(const QModelIndex& node);
    // After a store refused because another room changed the shown medium:
    // boxes left as shown take `now`, typed ones keep their text, and `now`
    // is what the next store is based on.
    void takeCurrent(const Medium& now);
    bool checkTimeComplete();
    void discardPending();
    Medium mediumFromBoxes() const;
    void onNameEdited(const QString& text);
    void onDetailEdited();
    void onTypeEdited();
    void onSeparatedClicked(bool ticked);
    void onSongChosen();
    void onNew();
    void onSave();
    void onDelete();
    bool offerToSaveBeforeNew();
    bool addMedium();
    void cancelAdding();
    void checkNameEmpty();
    void checkNameSame();
    bool mayClose();
    void showAfterSave(const QString& name);
    void selectNode(const QModelIndex& node);
    void setPicture(int picture);
    void setRootButtons();
    void setMediumButtons();
    void setButtonsAdding(bool adding);
    void showCount(int count);
    void storePlacement();
    QString today() const;
    void refreshTree();
    // After an edit was dropped: a refresh that waited for it runs now.
    void catchUpTree();
    // Runs work with our message boxes marked as such (no rebuild on return).
    void whilePrompting(const std::function<void()>& work);
    QMessageBox::StandardButton ask(const QString& text, const QString& title, Prompter::Icon icon,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton);

    AppState& m_state;
    TapeWindowUi m_ui;
    MediaTree m_tree;
    MediaListCommands m_list;

    QPersistentModelIndex m_lastIndex; // the node whose details are shown
    QPersistentModelIndex m_curIndex;  // the node clicked last
    bool m_altered = false;
    bool m_nameChanged = false;
    bool m_adding = false;
    bool m_loading = true;
    bool m_checkFailed = false;
    QString m_storedName;
    QString m_currentName;
    QString m_storedType;
    std::optional<Medium> m_asRead; // the shown medium as read, what a store is based on
    int m_itemCount = 0;
    int m_detailPicture = 0;
    int m_storedPicture = 0; // the picture of the shown medium as stored

    bool m_filling = false;   // boxes set by the program, not edits
    bool m_selecting = false; // selection set by the program
    bool m_prompting = false; // one of our message boxes is up
    bool m_rebuildOnActivate = false;
    bool m_shown = false;
    bool m_treeRefreshDue = false; // another room's change, taken in shortly
    bool m_treeStale = false;      // one waits for the edit under way
    bool m_shownMediumChanged = false;
};

} // namespace quillon
