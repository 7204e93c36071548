// The editing half of the media library window: tracking edits, the name
// checks, saving, adding and deleting. Kept apart from tapewindow.cpp (tree,
// activation, closing) so each file stays readable.
#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/changedelsewhere.h"
#include "media/mediastore.h"
#include "media/tapewindow.h"
#include "media/waitcursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

namespace quillon {

namespace {
// The details boxes' texts for a medium, in the order of the boxes.
QStringList boxTexts(const Medium& m)
{
    return {m.name,    m.brand,          m.serialNumber, m.length,
            m.maxTime, m.noiseReduction, m.enteredOn,    m.separatedOn};
}
const QString kNewCaption = QStringLiteral("&New");
const QString kOkCaption = QStringLiteral("&OK");
const QString kSaveCaption = QStringLiteral("&Save");
const QString kCancelCaption = QStringLiteral("&Cancel");
} // namespace

// --- tracking edits -----------------------------------------------------------

void TapeWindow::onNameEdited(const QString& text)
{
    if (m_filling)
        return;
    m_ui.saveButton->setEnabled(true);
    m_nameChanged = true;
    m_currentName = text.trimmed();
    if (!m_adding && text.trimmed() == m_storedName.trimmed()) {
        m_nameChanged = false;
        // Save stays available while other details wait to be stored.
        m_ui.saveButton->setEnabled(m_altered);
    }
}

void TapeWindow::onDetailEdited()
{
    if (m_filling)
        return;
    m_ui.saveButton->setEnabled(true);
    m_altered = true;
}

void TapeWindow::onTypeEdited()
{
    if (m_filling)
        return;
    m_ui.saveButton->setEnabled(true);
    m_altered = true;
    // The large picture follows the chosen type at once; the node follows
    // when the medium is stored.
    setPicture(media::iconNumber(media::typeNumber(m_ui.type->currentText()),
                                 m_ui.separated->isChecked()));
}

void TapeWindow::onSeparatedClicked(bool ticked)
{
    if (m_filling)
        return;
    m_ui.saveButton->setEnabled(true);
    m_altered = true; // even when the date box already held today's date
    m_ui.fields[7]->setText(ticked ? today() : QString());
    const int type = media::typeNumber(m_ui.type->currentText());
    const int picture = media::iconNumber(type, ticked);
    if (!m_adding)
        m_tree.setPicture(m_lastIndex, picture);
    setPicture(picture);
}

// --- name checks ------------------------------------------------------------------

void TapeWindow::checkNameEmpty()
{
    if (!m_ui.fields[0]->text().trimmed().isEmpty())
        return;
    if (!m_adding)
        m_ui.fields[0]->setText(m_storedName);
    ask(QStringLiteral("You have to enter at least the number or description\r"
                       "of the Tape,harddisk or CD"),
        QGuiApplication::applicationDisplayName(), Prompter::Icon::None, QMessageBox::Ok,
        QMessageBox::Ok);
    m_ui.fields[0]->setFocus();
    m_checkFailed = true;
}

void TapeWindow::checkNameSame()
{
    if (m_checkFailed || !(m_nameChanged || m_adding))
        return;
    if (!m_tree.textTaken(m_ui.fields[0]->text()))
        return;
    ask(QStringLiteral("There is already an item with that number/description !\r"
                       "Please use another name."),
        QGuiApplication::applicationDisplayName(), Prompter::Icon::None, QMessageBox::Ok,
        QMessageBox::Ok);
    if (!m_adding)
        m_ui.fields[0]->setText(m_storedName);
    m_ui.fields[0]->setFocus();
    m_checkFailed = true;
}

// --- saving -------------------------------------------------------------------------

Medium TapeWindow::mediumFromBoxes() const
{
    Medium m;
    m.name = m_ui.fields[0]->text().trimmed();
    m.brand = m_ui.fields[1]->text();
    m.serialNumber = m_ui.fields[2]->text();
    m.length = m_ui.fields[3]->text();
    m.maxTime = m_ui.fields[4]->text();
    m.noiseReduction = m_ui.fields[5]->text();
    m.enteredOn = m_ui.fields[6]->text();
    m.separatedOn = m_ui.fields[7]->text();
    m.type = m_ui.type->currentText();
    m.setSeparated(m_ui.separated->isChecked());
    return m;
}

bool TapeWindow::saveTreeView()
{
    if (m_checkFailed || m_loading || !m_tree.isMedium(m_ui.tree->currentIndex()) ||
        m_tree.mediumCount() == 0)
        return false;
    return writeBack(m_lastIndex);
}

bool TapeWindow::writeBack(const QModelIndex& node)
{
    if (!m_tree.isMedium(node))
        return false;
    if (m_ui.fields[0]->text().trimmed().isEmpty()) {
        m_ui.fields[0]->setFocus();
        return false;
    }
    if (m_ui.type->currentText().trimmed().isEmpty()) {
        m_ui.type->setCurrentIndex(1);
        m_ui.type->setFocus();
        return false;
    }
    if (!checkTimeComplete())
        return false;
    const Medium medium = mediumFromBoxes();
    MediaStore store(m_state.data);
    if (!store.update(m_tree.text(node), medium, m_asRead)) {
        const QString why = store.lastError();
        if (store.changedElsewhere())
            if (const std::optional<Medium> now = store.find(m_tree.text(node)))
                takeCurrent(*now);
        ask(why, windowTitle(), Prompter::Icon::Critical, QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    m_currentName = medium.name;
    m_tree.setText(node, medium.name);
    m_tree.setPicture(node, medium.icon());
    setPicture(medium.icon());
    showCount(store.count());
    m_storedName = medium.name;
    m_storedType = medium.type;
    m_storedPicture = medium.icon();
    return true;
}

void TapeWindow::takeCurrent(const Medium& now)
{
    const Medium shown = m_asRead.value_or(now);
    // The type box shows a listed type by its caption, any other as stored.
    const auto typeText = [this](const Medium& m) {
        const int type = m.typeNumber();
        return type >= 1 && type <= media::kTypeCount ? m_ui.type->itemText(type - 1) : m.type;
    };
    m_filling = true;
    QStringList asShown = boxTexts(shown);
    changedelsewhere::takeCurrent(m_ui.fields, asShown, boxTexts(now));
    if (m_ui.type->currentText() == typeText(shown)) {
        const int type = now.typeNumber();
        if (type >= 1 && type <= media::kTypeCount)
            m_ui.type->setCurrentIndex(type - 1);
        else
            m_ui.type->setEditText(now.type);
    }
    if (m_ui.separated->isChecked() == shown.isSeparated())
        m_ui.separated->setChecked(now.isSeparated());
    m_filling = false;
    setPicture(media::iconNumber(media::typeNumber(m_ui.type->currentText()),
                                 m_ui.separated->isChecked()));
    m_storedType = now.type;
    m_storedPicture = now.icon();
    m_asRead = now;
}

bool TapeWindow::checkTimeComplete()
{
    // The box refuses what cannot become hh:mm:ss, but a half-typed time
    // gets through the keys; a stored value of another form that was not
    // touched is written back as it is.
    QLineEdit* time = m_ui.fields[4];
    if (!time->isModified() || time->hasAcceptableInput())
        return true;
    ask(QStringLiteral("Please enter the recording time as hh:mm:ss."), kApplicationTitle,
        Prompter::Icon::Critical, QMessageBox::Ok, QMessageBox::Ok);
    time->setFocus();
    return false;
}

void TapeWindow::showAfterSave(const QString& name)
{
    loadTree();
    const QModelIndex node = m_tree.find(name);
    if (!node.isValid())
        return;
    selectNode(node);
    m_ui.tree->setFocus();
    fillTreeView(node);
    m_ui.hideAll->hide();
    m_lastIndex = m_curIndex = node;
}

void TapeWindow::onSave()
{
    if (m_adding) {
        cancelAdding();
        return;
    }
    WaitCursor wait;
    m_checkFailed = false;
    m_storedName = m_tree.text(m_ui.tree->currentIndex());
    wait.restore();
    checkNameEmpty();
    checkNameSame();
    if (m_checkFailed || !(m_nameChanged || m_altered))
        return;
    WaitCursor saving;
    if (saveTreeView())
        showAfterSave(m_currentName);
}

// --- adding -------------------------------------------------------------------------

void TapeWindow::setButtonsAdding(bool adding)
{
    m_ui.newButton->setText(adding ? kOkCaption : kNewCaption);
    m_ui.saveButton->setText(adding ? kCancelCaption : kSaveCaption);
    m_ui.tree->setEnabled(!adding);
    m_ui.deleteButton->setEnabled(!adding && m_tree.isMedium(m_lastIndex));
    m_ui.exitButton->setEnabled(!adding);
    m_ui.newButton->setEnabled(true);
    m_ui.saveButton->setEnabled(adding || m_tree.isMedium(m_lastIndex));
}

void TapeWindow::onNew()
{
    if (m_adding) {
        addMedium();
        return;
    }
    if (!offerToSaveBeforeNew())
        return;
    m_adding = true;
    m_ui.hideAll->hide();
    m_filling = true;
    for (QLineEdit* box : m_ui.fields)
        box->clear();
    m_ui.separated->setChecked(false);
    m_ui.fields[6]->setText(today());
    m_ui.type->setCurrentIndex(0);
    m_ui.songs->clear();
    m_filling = false;
    resetPositions();
    setPicture(media::iconNumber(1, false));
    m_altered = m_nameChanged = false;
    setButtonsAdding(true);
    m_ui.fields[0]->setFocus();
}

bool TapeWindow::offerToSaveBeforeNew()
{
    // The entry of a new medium empties the boxes; changes still pending in
    // them are offered for saving as when another medium is clicked.
    if (!(m_altered || m_nameChanged) || !m_tree.isMedium(m_lastIndex))
        return true;
    m_checkFailed = false;
    checkNameEmpty();
    checkNameSame();
    m_checkFailed = false;
    if (!(m_altered || m_nameChanged))
        return true;
    const auto answer = ask(QStringLiteral("Item \r") + m_tree.text(m_lastIndex) +
                                QStringLiteral("\rnot saved. Do you want to save the changes?"),
                            QStringLiteral("Delete item"), Prompter::Icon::Question,
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        if (!writeBack(m_lastIndex))
            return false;
        m_altered = m_nameChanged = false;
    } else {
        discardPending();
    }
    return true;
}

void TapeWindow::discardPending()
{
    // The medium left behind shows again what is stored, not the picture of
    // a separation that was never saved.
    if (m_tree.isMedium(m_lastIndex))
        m_tree.setPicture(m_lastIndex, m_storedPicture);
    m_altered = m_nameChanged = false;
    catchUpTree();
}

bool TapeWindow::addMedium()
{
    m_checkFailed = false;
    checkNameEmpty();
    checkNameSame();
    if (m_checkFailed || !checkTimeComplete())
        return false;
    WaitCursor wait;
    const Medium medium = mediumFromBoxes();
    MediaStore store(m_state.data);
    if (!store.add(medium)) {
        wait.restore();
        ask(store.lastError(), windowTitle(), Prompter::Icon::Critical, QMessageBox::Ok,
            QMessageBox::Ok);
        return false;
    }
    showCount(store.count());
    m_adding = false;
    setButtonsAdding(false);
    m_altered = m_nameChanged = false;
    showAfterSave(medium.name);
    return true;
}

void TapeWindow::cancelAdding()
{
    m_adding = false;
    const QPersistentModelIndex before = m_lastIndex;
    m_altered = m_nameChanged = false;
    setButtonsAdding(false);
    fillTreeView(before);
    if (!m_tree.isMedium(before)) {
        m_ui.hideAll->show();
        m_ui.hideAll->raise();
    }
    catchUpTree();
}

// --- deleting -----------------------------------------------------------------------

void TapeWindow::onDelete()
{
    if (!m_tree.isMedium(m_ui.tree->currentIndex()))
        return;
    if (m_nameChanged || m_altered) {
        onSave();
        if (m_altered || m_nameChanged)
            return; // the changes could not be stored; nothing is removed
    }
    // The medium shown is removed by its stored name, even if the box was
    // edited in between.
    const QString name = m_storedName;
    const auto answer = ask(QStringLiteral("Do you really want to remove\r") + name +
                                QStringLiteral("\rfrom the database?"),
                            QStringLiteral("Delete item"), Prompter::Icon::Question,
                            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    WaitCursor wait;
    MediaStore store(m_state.data);
    if (!store.remove(name, m_asRead)) {
        wait.restore();
        ask(store.lastError(), windowTitle(), Prompter::Icon::Critical, QMessageBox::Ok,
            QMessageBox::Ok);
        // Changed there: what is stored now is shown; gone: the tree follows.
        if (store.changedElsewhere()) {
            if (store.find(name))
                fillTreeView(m_lastIndex);
            else
                loadTree();
        }
        return;
    }
    showCount(store.count());
    loadTree();
}

} // namespace quillon
