#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QMenuBar;

namespace quillon {

// Builds the four menus of the main window (File, Edit, Options, Info) and
// addresses every item by its text key; a click reports the key.
class MenuBuilder final : public QObject {
    Q_OBJECT
public:
    explicit MenuBuilder(QMenuBar* bar, QObject* parent = nullptr);

    void initMenuFile();
    void initMenuEdit();
    void initMenuOptions();
    void initMenuInfo();
    void buildAll(); // the four in this order

    QAction* action(const QString& key) const { return m_actions.value(key); }
    QMenu* menu(const QString& key) const { return m_menus.value(key); }
    // The item's caption, without the shortcut shown after a tab.
    QString caption(const QString& key) const;
    // Enables or disables an item by key; an unknown key is ignored, so the
    // states can be switched even while menus are still partly empty.
    void setEnabled(const QString& key, bool on);
    void setEnabled(const QStringList& keys, bool on);
    QStringList keys(const QString& menuKey) const;

signals:
    void triggered(const QString& key);

private:
    QMenu* addMenu(const QString& caption, const QString& key);
    QAction* addItem(QMenu* menu, const QString& caption, const QString& key,
                     const QKeySequence& shortcut = {});
    QAction* addShownOnly(QMenu* menu, const QString& caption, const QString& key,
                          const QString& shortcutText);

    QMenuBar* m_bar;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QStringList> m_keysByMenu;
};

} // namespace quillon
