#pragma once

#include <QHash>
#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

namespace quillon {

// The five keyed panels of the status bar `sb1`: "infopanel", "adpanel",
// "rcPanel" (the song count), "datepanel" and "time" (kept current).
class StatusPanels final : public QObject {
    Q_OBJECT
public:
    static const QStringList& keys();

    explicit StatusPanels(QStatusBar* bar);

    QString text(const QString& key) const;
    void setText(const QString& key, const QString& text);
    QLabel* panel(const QString& key) const { return m_panels.value(key); }
    // Panel 3: "Songs:" and the count with one leading blank.
    void showSongCount(int count);
    // The standing text of panel 1.
    static QString productNotice();
    void refreshClock();

private:
    QHash<QString, QLabel*> m_panels;
    QTimer* m_clock;
};

} // namespace quillon
