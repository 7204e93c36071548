#include "songs/stylewindow.h"

#include "common/appstate.h"
#include "common/characterfilter.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "songs/songfields.h"
#include "songs/stylelist.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillon {

namespace {

const QString kStyleChars = songfields::styleCharacters();
constexpr int kNameLength = 50;
constexpr int kDescriptionLength = 5000;
const QString kDiscardQuestion =
    QStringLiteral("The text in the boxes has not been stored.\rDo you want to clear it and "
                   "enter a new style?");

// Design geometry in twips; the screen has 15 twips to a pixel.
constexpr int px(int twips)
{
    return twips / 15;
}
constexpr int kButtonLeft = 9120;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 390;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int top,
                        const QString& tip = {})
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(px(kButtonLeft), px(top), px(kButtonWidth), px(kButtonHeight));
    b->setAutoDefault(false);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

} // namespace

StyleWindow::StyleWindow(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_styles(std::make_unique<StyleList>(state.data))
{
    setObjectName("frmStyle");
    setWindowTitle("Songstyles");
    setModal(true);
    buildUi();
    loadStyles();
}

StyleWindow::~StyleWindow() = default;

void StyleWindow::buildUi()
{
    setFixedSize(px(10545), px(5700));

    m_list = new QListWidget(this);
    m_list->setObjectName("lstStyles");
    m_list->setGeometry(px(120), px(375), px(5160), px(4560));

    auto* numberCaption = new QLabel("Number of Styles:", this);
    numberCaption->setObjectName("Label2");
    numberCaption->setGeometry(px(120), px(5040), px(1700), px(300));
    m_numberLabel = new QLabel("0", this);
    m_numberLabel->setObjectName("lblNumberOfStyles");
    m_numberLabel->setGeometry(px(1860), px(5040), px(900), px(300));

    auto* nameCaption = new QLabel("Stylename", this);
    nameCaption->setObjectName("lblStylename");
    nameCaption->setGeometry(px(5460), px(120), px(3480), px(255));
    m_name = new QLineEdit(this);
    m_name->setObjectName("TB_Stylename");
    m_name->setGeometry(px(5460), px(375), px(3480), px(360));
    new CharacterFilter(m_name, kStyleChars, kNameLength);
    nameCaption->setBuddy(m_name);

    auto* descrCaption = new QLabel("Description", this);
    descrCaption->setObjectName("lblStyledescr");
    descrCaption->setGeometry(px(5460), px(840), px(3480), px(255));
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName("TB_Styledescr");
    m_description->setGeometry(px(5460), px(1095), px(3480), px(3840));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_description->setTabChangesFocus(true);
    m_descriptionFilter = new CharacterFilter(m_description, kStyleChars, kDescriptionLength);

    m_close = makeButton(this, "cmdClose", "Close", 375);
    m_new = makeButton(this, "cmdNew", "&New", 1095, "Enter a new style");
    m_okNew = makeButton(this, "cmdOKNew", "&OK", 1095, "Confirm new style");
    m_okEdit = makeButton(this, "cmdOKEdit", "O&K edit", 1095, "Confirm");
    m_delete = makeButton(this, "cmdDelete", "&Delete", 1575, "Delete the style");
    m_cancel = makeButton(this, "cmdCancel", "&Cancel", 1575);
    m_edit = makeButton(this, "cmdEdit", "&Edit", 2055, "Edit the style");

    connect(m_list, &QListWidget::currentRowChanged, this, &StyleWindow::showEntry);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { onEdit(); });
    connect(m_new, &QPushButton::clicked, this, &StyleWindow::onNew);
    connect(m_okNew, &QPushButton::clicked, this, &StyleWindow::onOkNew);
    connect(m_edit, &QPushButton::clicked, this, &StyleWindow::onEdit);
    connect(m_okEdit, &QPushButton::clicked, this, &StyleWindow::onOkEdit);
    connect(m_delete, &QPushButton::clicked, this, &StyleWindow::onDelete);
    connect(m_cancel, &QPushButton::clicked, this, &StyleWindow::onCancel);
    connect(m_close, &QPushButton::clicked, this, &StyleWindow::onClose);

    setStacks(m_new, m_delete);
}

QStringList StyleWindow::entries() const
{
    QStringList result;
    for (int i = 0; i < m_list->count(); ++i)
        result << m_list->item(i)->text();
    return result;
}

QString StyleWindow::askTitle() const
{
    return QApplication::applicationDisplayName();
}

void StyleWindow::showNumber()
{
    m_numberLabel->setText(QString::number(m_number));
}

void StyleWindow::lockBoxes(bool locked)
{
    m_name->setReadOnly(locked);
    m_description->setReadOnly(locked);
}

// Each stack shows one button: the one in front. The others are hidden as well
// as covered, so that their keyboard shortcuts cannot fire behind the front one.
void StyleWindow::setStacks(QPushButton* upper, QPushButton* lower)
{
    for (QPushButton* b : {m_new, m_okNew, m_okEdit})
        b->setVisible(b == upper);
    for (QPushButton* b : {m_delete, m_cancel})
        b->setVisible(b == lower);
    upper->raise();
    lower->raise();
}

void StyleWindow::loadStyles()
{
    m_number = 0;
    if (!m_styles->numberFileExists()) {
        if (!m_styles->writeNumber(0))
            m_state.prompter.critical(this, m_styles->lastError(), askTitle());
    } else {
        m_number = m_styles->readNumber();
        if (m_number == 0) {
            lockBoxes(true);
            m_delete->setEnabled(false);
        }
    }
    showNumber();
    reloadList();
    const bool any = m_number > 0;
    m_delete->setEnabled(any);
    m_edit->setEnabled(any);
    m_new->setEnabled(true);
}

// The list file is read to its end whatever stnum.dat claims: a count that is
// 0, damaged or too small must not hide styles that Close would then drop.
void StyleWindow::reloadList()
{
    QSignalBlocker block(m_list);
    m_list->clear();
    if (!m_styles->listFileExists()) {
        m_number = 0;
        showNumber();
        if (!m_styles->writeNumber(0) || !m_styles->writeEntries({}))
            m_state.prompter.critical(this, m_styles->lastError(), askTitle());
        return;
    }
    const QStringList entries = m_styles->readEntries();
    m_list->addItems(entries);
    m_number = int(entries.size());
    showNumber();
    // Put a count that disagrees with the list right at once, so that the song
    // details offer every style even if this window is not closed with Close.
    bool counted = false;
    const int stored = m_styles->readNumber(&counted);
    if (!counted || stored != m_number) {
        qCInfo(lcSongs) << "style count" << stored << "corrected to" << m_number;
        if (!m_styles->writeNumber(m_number))
            qCWarning(lcSongs) << "style count not corrected:" << m_styles->lastError();
    }
}

void StyleWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        activate();
    }
}

void StyleWindow::activate()
{
    setStacks(m_new, m_delete);
    lockBoxes(true);
    if (m_number > 0) {
        m_list->setFocus();
        selectFirst();
        m_edit->setEnabled(true);
    } else {
        m_new->setFocus();
        m_edit->setEnabled(false);
    }
}

void StyleWindow::showEntry(int row)
{
    if (row < 0 || row >= m_list->count())
        return;
    const QString entry = m_list->item(row)->text();
    m_name->setText(StyleList::nameOf(entry));
    m_descriptionFilter->setText(StyleList::descriptionOf(entry));
}

void StyleWindow::selectFirst()
{
    if (m_list->count() == 0)
        return;
    m_list->setCurrentRow(0);
    showEntry(0); // also when the first row was selected already
}

bool StyleWindow::store(bool numberFirst, bool reload)
{
    const QStringList list = entries();
    const bool ok = numberFirst ? m_styles->writeNumber(m_number) && m_styles->writeEntries(list)
                                : m_styles->writeEntries(list) && m_styles->writeNumber(m_number);
    if (!ok) {
        // The list on screen is the only good copy now; keep it.
        m_state.prompter.critical(this, m_styles->lastError(), askTitle());
        m_number = int(list.size());
        showNumber();
        return false;
    }
    if (reload)
        reloadList();
    return true;
}

void StyleWindow::enterNormalState()
{
    setStacks(m_new, m_delete);
    const bool any = m_number > 0;
    m_edit->setEnabled(any);
    m_delete->setEnabled(any);
    lockBoxes(true);
    m_close->setEnabled(true);
    m_list->setEnabled(true);
    m_mode = Mode::Normal;
}

// After Cancel the boxes stay open for typing; what they hold then is the
// user's text unless it is just the selected entry.
bool StyleWindow::boxesHoldUnsavedText() const
{
    if (m_name->isReadOnly())
        return false;
    const int row = m_list->currentRow();
    const QString entry = row >= 0 ? m_list->item(row)->text() : QString();
    return m_name->text() != StyleList::nameOf(entry) ||
           m_description->toPlainText() != StyleList::descriptionOf(entry);
}

void StyleWindow::onNew()
{
    // At or above the limit (a damaged file can hold more) nothing is added.
    if (m_number + 1 > StyleList::kMaxStyles) {
        m_state.prompter.critical(this, "Sorry, only 250 styles possible", askTitle());
        return;
    }
    // New empties the boxes; text typed into them is not thrown away unasked.
    // No is the default: a stray Enter keeps it.
    if (boxesHoldUnsavedText() &&
        !m_state.prompter.askYesNo(this, kDiscardQuestion, windowTitle(), QMessageBox::No)) {
        m_name->setFocus();
        return;
    }
    m_close->setEnabled(false);
    m_list->setEnabled(false);
    setStacks(m_okNew, m_cancel);
    m_okNew->setEnabled(true);
    m_cancel->setEnabled(true);
    m_edit->setEnabled(false);
    lockBoxes(false);
    m_name->clear();
    m_descriptionFilter->setText(QString());
    m_mode = Mode::NewStyle;
    m_name->setFocus();
}

void StyleWindow::onOkNew()
{
    if (m_name->text().isEmpty()) {
        m_state.prompter.message(this, "Please enter a stylename\r or click -Cancel- to exit !",
                                 askTitle(), Prompter::Icon::None);
        m_name->setFocus();
        return;
    }
    lockBoxes(true);
    if (m_mode == Mode::NewStyle)
        ++m_number;
    m_list->addItem(StyleList::makeEntry(m_name->text(), m_description->toPlainText()));
    store(true, true);
    enterNormalState();
    selectFirst();
    m_list->setFocus();
}

void StyleWindow::onEdit()
{
    if (m_mode != Mode::Normal || m_list->currentRow() < 0)
        return;
    m_list->setEnabled(false);
    m_edit->setEnabled(false);
    m_close->setEnabled(false);
    setStacks(m_okEdit, m_cancel);
    m_okEdit->setEnabled(true);
    m_cancel->setEnabled(true);
    lockBoxes(false);
    m_mode = Mode::EditStyle;
    m_name->setFocus();
}

void StyleWindow::onOkEdit()
{
    if (m_name->text().isEmpty()) {
        m_state.prompter.message(this, "Please enter a stylename\r or click -CANCEL- to exit !",
                                 askTitle(), Prompter::Icon::None);
        m_name->setFocus();
        return;
    }
    const int row = m_list->currentRow();
    if (row >= 0)
        m_list->item(row)->setText(
            StyleList::makeEntry(m_name->text(), m_description->toPlainText()));
    store(true, true);
    enterNormalState();
    if (m_number > 0) {
        selectFirst();
        m_list->setFocus();
    }
}

void StyleWindow::onDelete()
{
    const int row = m_list->currentRow();
    if (m_number == 0 || row < 0) {
        if (m_number == 0)
            m_list->setEnabled(false);
        m_new->setFocus();
        return;
    }
    const QString text = "Deleting a style may effect the 'STYLE'-field \r"
                         "of a song! A deleted style is no more \r"
                         "available for aleady entered songs. \r\r"
                         "Do you really want to delete style:\r'" +
                         m_name->text().trimmed() + "' ?";
    // No is the default: a stray Enter must not delete.
    if (!m_state.prompter.askYesNo(this, text, "Delete style ", QMessageBox::No))
        return;
    delete m_list->takeItem(row);
    --m_number;
    store(true, true);
    enterNormalState();
    if (m_number > 0) {
        selectFirst();
        m_list->setFocus();
    } else {
        m_name->clear();
        m_descriptionFilter->setText(QString());
        m_new->setFocus();
    }
}

void StyleWindow::onCancel()
{
    setStacks(m_new, m_delete);
    m_mode = Mode::Normal;
    m_edit->setEnabled(m_number > 0);
    m_delete->setEnabled(m_number > 0);
    m_description->setVisible(true);
    m_close->setEnabled(true);
    m_list->setEnabled(true);
    // The boxes stay unlocked until the next confirmation, as before.
    if (m_number > 0) {
        m_list->setFocus();
        selectFirst();
    } else {
        m_new->setFocus();
    }
}

void StyleWindow::onClose()
{
    if (!store(false, false))
        return; // told the user; the window stays so nothing is lost
    accept();
}

} // namespace quillon
