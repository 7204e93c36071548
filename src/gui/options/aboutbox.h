#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillon {

// "About" (frmInfo): the program's picture, version and notice. It closes on
// any click. At start it is shown modeless as the splash
// (show(), closed by the main window at its first activation); from the Info
// menu it runs modally (exec()).
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
    // With the data folder in use shown below the notice, so that a user
    // with several catalogues or an installed copy sees which one is open.
    AboutBox(const QString& dataDir, QWidget* parent);

    // "major.minor.revision" of the running program.
    static QString versionText();

    QLabel* picture() const { return m_picture; }
    QLabel* versionLabel() const { return m_version; }
    QLabel* noticeLabel() const { return m_notice; }
    QLabel* dataFolderLabel() const { return m_dataFolder; }
    QPushButton* okButton() const { return m_ok; }

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();

    QLabel* m_picture = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_notice = nullptr;
    QLabel* m_dataFolder = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace quillon
