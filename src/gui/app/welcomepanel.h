#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace quillon {

// The cover panel `picHideAll` with the welcome box `Picture2` centred on it.
// While no song is loaded it lies over the whole work area, so only the
// welcome box, the menu bar and the status bar can be used.
class WelcomePanel final : public QFrame {
    Q_OBJECT
public:
    explicit WelcomePanel(QWidget* parent = nullptr);

    QFrame* welcomeBox() const { return m_box; }
    void setNotice(const QString& productName, const QString& version, const QString& notice);
    // roCommand1 "Open Last Song": enabled or not, and the tooltip saying
    // which song it opens or why there is none.
    void offerLastSong(bool enabled, const QString& toolTip);
    QPushButton* openLastSongButton() const { return m_openLast; }

signals:
    void createSongClicked();   // cmdCreateSong
    void openSongClicked();     // cmdOpenSong
    void openLastSongClicked(); // roCommand1

private:
    QPushButton* addButton(const QString& name, const QString& caption, const QString& glyph,
                           int row);

    QFrame* m_box;
    QPushButton* m_openLast;
    QLabel* m_productName;
    QLabel* m_version;
    QLabel* m_notice;
};

} // namespace quillon
