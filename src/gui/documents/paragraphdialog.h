#pragma once

#include <QDialog>
#include <QTextBlockFormat>

class QComboBox;
class QDoubleSpinBox;

namespace quillon {

// "Paragraph": alignment, left, right and first-line indent, space before
// and after, in centimetres.
class ParagraphDialog final : public QDialog {
    Q_OBJECT

public:
    explicit ParagraphDialog(const QTextBlockFormat& initial, QWidget* parent = nullptr);

    // The properties to merge into the selected paragraphs.
    QTextBlockFormat format() const;

    QComboBox* alignmentBox() const { return m_alignment; }
    QDoubleSpinBox* leftBox() const { return m_left; }
    QDoubleSpinBox* rightBox() const { return m_right; }
    QDoubleSpinBox* firstLineBox() const { return m_first; }
    QDoubleSpinBox* beforeBox() const { return m_before; }
    QDoubleSpinBox* afterBox() const { return m_after; }

private:
    QDoubleSpinBox* addBox(const QString& label, const QString& name, double units, double min);
    // The box's value in document units; an untouched box keeps the exact
    // initial value rather than its two-decimal rounding.
    static double units(const QDoubleSpinBox* box, double initial);

    QTextBlockFormat m_initial;

    QComboBox* m_alignment;
    QDoubleSpinBox* m_left;
    QDoubleSpinBox* m_right;
    QDoubleSpinBox* m_first;
    QDoubleSpinBox* m_before;
    QDoubleSpinBox* m_after;
};

} // namespace quillon
