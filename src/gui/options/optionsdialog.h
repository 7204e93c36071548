#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace quillon {

struct AppState;
class ServerAddress;

// "Settings" (frmOptions): the start-up preferences, plus a font page and a
// colour page that only show their choices on two sample lines, and where
// the catalogue is kept (the data folder or a PostgreSQL server, from the
// next start on). "&OK" stores the preferences and the current song as the
// recent one, and refuses a malformed server address; "&Cancel" stores
// nothing. Modal; opened by the "settings" command and the tray menu.
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    enum Box { RecentSong = 0, ShowWelcome, ShowTip, StartMinimized, ShowDeviceBar, ShowSidebar };
    static constexpr int kBoxCount = 6;
    static constexpr int kSwatchCount = 6;

    explicit OptionsDialog(AppState& state, QWidget* parent = nullptr);

    QCheckBox* checkBox(Box box) const { return m_boxes[box]; }
    QComboBox* fontNames() const { return m_fontNames; }
    QComboBox* fontSizes() const { return m_fontSizes; }
    QLabel* sample(int index) const { return m_samples[index]; }
    QStackedWidget* pages() const { return m_pages; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* fontsButton() const { return m_fontsButton; }
    QPushButton* colorsButton() const { return m_colorsButton; }
    QToolButton* foreSwatch(int i) const { return m_fore[i]; }
    QToolButton* backSwatch(int i) const { return m_back[i]; }
    QRadioButton* catalogueInFolder() const { return m_inFolder; }
    QRadioButton* catalogueOnServer() const { return m_onServer; }
    QLineEdit* serverAddress() const { return m_serverAddress; }

private:
    QWidget* buildFontPage();
    QWidget* buildColorPage();
    QGroupBox* buildCatalogueGroup();
    void loadSettings();
    // The server chosen (invalid: the data folder); false after telling
    // the user why the typed address cannot be used.
    bool readCatalogue(ServerAddress& server);
    void store(const ServerAddress& server);
    void storeCatalogue(const ServerAddress& server);
    void setSampleFamily(const QString& family);
    void setSampleSize(int points);
    void sizeTyped(const QString& text);
    void setSampleColors(const QColor& fore, const QColor& back);

    AppState& m_state;
    QCheckBox* m_boxes[kBoxCount] = {};
    QComboBox* m_fontNames = nullptr;
    QComboBox* m_fontSizes = nullptr;
    QLabel* m_samples[2] = {};
    QStackedWidget* m_pages = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_fontsButton = nullptr;
    QPushButton* m_colorsButton = nullptr;
    QToolButton* m_fore[kSwatchCount] = {};
    QToolButton* m_back[kSwatchCount] = {};
    QRadioButton* m_inFolder = nullptr;
    QRadioButton* m_onServer = nullptr;
    QLineEdit* m_serverAddress = nullptr;
};

} // namespace quillon
