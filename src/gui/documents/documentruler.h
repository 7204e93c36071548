#pragma once

#include <QWidget>

namespace quillon {

// A horizontal ruler over the text in centimetres, with marks for the
// current paragraph's left, first-line and right indents. Positions are in
// document units (96 dpi pixels).
class DocumentRuler final : public QWidget {
    Q_OBJECT

public:
    explicit DocumentRuler(QWidget* parent = nullptr);

    // textLeft: where the text area starts inside the ruler (pixels);
    // textWidth: its width in document units.
    void setTextArea(int textLeft, double textWidth);
    void setIndents(double left, double firstLine, double right);

    double leftIndent() const { return m_left; }
    double firstLineIndent() const { return m_first; }
    double rightIndent() const { return m_right; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_textLeft = 0;
    double m_textWidth = 0;
    double m_left = 0;
    double m_first = 0;
    double m_right = 0;
};

} // namespace quillon
