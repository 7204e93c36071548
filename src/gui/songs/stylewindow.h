#pragma once

#include <memory>
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

struct AppState;
class CharacterFilter;
class StyleList;

// The song style list editor (object name "frmStyle", caption "Songstyles").
// Every confirmed change rewrites both style files; Close writes them again.
class StyleWindow final : public QDialog {
    Q_OBJECT
public:
    explicit StyleWindow(AppState& state, QWidget* parent = nullptr);
    ~StyleWindow() override;

    int numberOfStyles() const { return m_number; }
    QStringList entries() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum class Mode { Normal, NewStyle, EditStyle };

    void buildUi();
    void loadStyles();
    void reloadList();
    void activate();
    void showNumber();
    void showEntry(int row);
    void selectFirst();
    void lockBoxes(bool locked);
    void setStacks(QPushButton* upper, QPushButton* lower);
    void enterNormalState();
    // Writes number and list (in the order given) and reloads the list from
    // the file; on a failed write the list on screen is kept as it is.
    bool store(bool numberFirst, bool reload);
    QString askTitle() const;
    bool boxesHoldUnsavedText() const;

    void onNew();
    void onOkNew();
    void onEdit();
    void onOkEdit();
    void onDelete();
    void onCancel();
    void onClose();

    AppState& m_state;
    std::unique_ptr<StyleList> m_styles;
    int m_number = 0;
    Mode m_mode = Mode::Normal;
    bool m_activated = false;

    QListWidget* m_list = nullptr;
    QLabel* m_numberLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_description = nullptr;
    CharacterFilter* m_descriptionFilter = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_okNew = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_okEdit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace quillon
