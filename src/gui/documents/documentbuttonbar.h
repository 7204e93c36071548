#pragma once

#include <QWidget>

class QComboBox;
class QFontComboBox;
class QTextCharFormat;
class QToolButton;

namespace quillon {

// The button bar above a document: bold, italic, underline, the four
// alignments, font and size. It only shows and asks; the editor applies.
class DocumentButtonBar final : public QWidget {
    Q_OBJECT

public:
    explicit DocumentButtonBar(QWidget* parent = nullptr);

    // Shows the format at the cursor without emitting anything.
    void showFormat(const QTextCharFormat& format, Qt::Alignment alignment);

    QToolButton* boldButton() const { return m_bold; }
    QToolButton* italicButton() const { return m_italic; }
    QToolButton* underlineButton() const { return m_underline; }
    // Left, centre, right, justify.
    QToolButton* alignButton(Qt::Alignment alignment) const;
    QFontComboBox* fontBox() const { return m_font; }
    QComboBox* sizeBox() const { return m_size; }

Q_SIGNALS:
    void boldToggled(bool on);
    void italicToggled(bool on);
    void underlineToggled(bool on);
    void alignmentChosen(Qt::Alignment alignment);
    void fontChosen(const QString& family);
    void sizeChosen(double points);

private:
    QToolButton* addButton(const QString& text, const QString& tip, const QString& name);
    void sizeEntered();

    QToolButton* m_bold;
    QToolButton* m_italic;
    QToolButton* m_underline;
    QToolButton* m_left;
    QToolButton* m_center;
    QToolButton* m_right;
    QToolButton* m_justify;
    QFontComboBox* m_font;
    QComboBox* m_size;
    bool m_updating = false;
};

} // namespace quillon
