#include "app/menubuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quillon {

MenuBuilder::MenuBuilder(QMenuBar* bar, QObject* parent) : QObject(parent), m_bar(bar)
{
    m_bar->setObjectName("MenuBar1");
}

void MenuBuilder::buildAll()
{
    initMenuFile();
    initMenuEdit();
    initMenuOptions();
    initMenuInfo();
}

QMenu* MenuBuilder::addMenu(const QString& caption, const QString& key)
{
    QMenu* menu = m_bar->addMenu(caption);
    menu->setObjectName(key);
    m_menus.insert(key, menu);
    return menu;
}

QAction* MenuBuilder::addItem(QMenu* menu, const QString& caption, const QString& key,
                              const QKeySequence& shortcut)
{
    if (caption == "-")
        return menu->addSeparator();
    QAction* action = menu->addAction(caption);
    action->setObjectName(key);
    action->setData(key);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, key] { emit triggered(key); });
    m_actions.insert(key, action);
    m_keysByMenu[menu->objectName()] << key;
    return action;
}

// Shows a shortcut beside the caption without binding it: one key sequence
// on two actions is ambiguous in Qt and would trigger neither.
QAction* MenuBuilder::addShownOnly(QMenu* menu, const QString& caption, const QString& key,
                                   const QString& shortcutText)
{
    QAction* action = addItem(menu, caption, key);
    action->setText(caption + "\t" + shortcutText);
    return action;
}

QString MenuBuilder::caption(const QString& key) const
{
    QAction* a = action(key);
    return a ? a->text().section('\t', 0, 0) : QString();
}

void MenuBuilder::initMenuFile()
{
    QMenu* m = addMenu("&File", "MenuFile");
    addItem(m, "&New Song...", "new", QKeySequence(Qt::CTRL | Qt::Key_N));
    addItem(m, "&Open Song", "open");
    addItem(m, "&Close Song", "close");
    addItem(m, "-", {});
    addItem(m, "&Save", "save", QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(m, "-", {});
    addItem(m, "General Info", "general_info");
    addItem(m, "-", {});
    addShownOnly(m, "Preview Tracksheet", "preview_ts",
                 QKeySequence(Qt::CTRL | Qt::Key_S).toString(QKeySequence::NativeText));
    addItem(m, "Preview Songdetails...", "display_songdetails");
    addItem(m, "-", {});
    addItem(m, "&Print...", "print", QKeySequence(Qt::CTRL | Qt::Key_P));
    addItem(m, "&Setup Printer...", "setup_printer");
    addItem(m, "-", {});
    QAction* exit = addItem(m, "&Exit", "exit", QKeySequence(Qt::Key_F4));
    exit->setToolTip("Exit");
    exit->setStatusTip("Exit Quillon 05");
}

void MenuBuilder::initMenuEdit()
{
    QMenu* m = addMenu("&Edit", "MenuEdit");
    addItem(m, "&Delete Song", "delete_song");
    addItem(m, "-", {});
    addItem(m, "Edit Songstyle...", "edit_songstyle");
    addItem(m, "-", {});
    addItem(m, "&Find...", "find", QKeySequence(Qt::CTRL | Qt::Key_F));
}

void MenuBuilder::initMenuOptions()
{
    QMenu* m = addMenu("&Options", "MenuOptions");
    addItem(m, "&Songdetails...", "songdetails");
    addItem(m, "S&essiondetails...", "sessiondetails");
    addItem(m, "-", {});
    addItem(m, "&Recordingdevices...", "recdev_details");
    addItem(m, "Tape/Disc-Details...", "tape_details");
    addItem(m, "-", {});
    addItem(m, "&Lyrics...", "lyrics");
    addItem(m, "-", {});
    addItem(m, "Settings...", "settings");
}

void MenuBuilder::initMenuInfo()
{
    QMenu* m = addMenu("&Info", "MenuInfo");
    addItem(m, "&Help...", "help");
    addItem(m, "-", {});
    addItem(m, "&About...", "about");
}

void MenuBuilder::setEnabled(const QString& key, bool on)
{
    if (QAction* a = action(key))
        a->setEnabled(on);
}

void MenuBuilder::setEnabled(const QStringList& keys, bool on)
{
    for (const QString& key : keys)
        setEnabled(key, on);
}

QStringList MenuBuilder::keys(const QString& menuKey) const
{
    return m_keysByMenu.value(menuKey);
}

} // namespace quillon
