#pragma once

#include <QObject>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quillon {

class SongRecord;
class TwipsScale;

// The song panel above the track grid: the title box `Songtitleinput` (which
// never keeps the focus), `lblComposer`, `lblWords`, `lblCompDate`, and the
// hidden default button `cmdDefault` that takes the focus instead.
class SongPanel final : public QObject {
    Q_OBJECT
public:
    SongPanel(QWidget* area, QWidget* firstTrackBox);

    void show(const SongRecord& song);
    void clear();
    void arrange(const TwipsScale& scale);
    QLineEdit* titleBox() const { return m_title; }
    QPushButton* defaultButton() const { return m_default; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_title;
    QLabel* m_composer;
    QLabel* m_words;
    QLabel* m_date;
    QPushButton* m_default;
    QWidget* m_firstBox;
};

} // namespace quillon
