#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QLabel;
class QPushButton;
class QTextCharFormat;

namespace quillon {

class Prompter;

// "Character": font (family, size, style, underline, strike-out) and colour
// of the selection, chosen through the prompter's font and colour dialogs
// and shown on a sample before OK applies them.
class CharacterDialog final : public QDialog {
    Q_OBJECT

public:
    CharacterDialog(Prompter& prompter, const QTextCharFormat& initial, QWidget* parent = nullptr);

    QFont chosenFont() const { return m_font; }
    QColor chosenColor() const { return m_color; }
    // The properties to merge into the selection.
    QTextCharFormat format() const;

    QPushButton* fontButton() const { return m_fontButton; }
    QPushButton* colorButton() const { return m_colorButton; }

private:
    void chooseFont();
    void chooseColor();
    void showSample();

    Prompter& m_prompter;
    QFont m_font;
    QColor m_color;
    QLabel* m_sample;
    QLabel* m_description;
    QPushButton* m_fontButton;
    QPushButton* m_colorButton;
};

} // namespace quillon
