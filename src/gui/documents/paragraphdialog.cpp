#include "documents/paragraphdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

#include <cmath>

namespace quillon {

namespace {

// Document units are 96 dpi pixels.
constexpr double kUnitsPerCm = 96.0 / 2.54;

} // namespace

ParagraphDialog::ParagraphDialog(const QTextBlockFormat& initial, QWidget* parent)
    : QDialog(parent), m_initial(initial)
{
    setWindowTitle(tr("Paragraph"));
    auto* form = new QFormLayout(this);
    m_alignment = new QComboBox(this);
    m_alignment->setObjectName(QStringLiteral("cboAlignment"));
    m_alignment->addItem(tr("Left"), int(Qt::AlignLeft));
    m_alignment->addItem(tr("Centre"), int(Qt::AlignHCenter));
    m_alignment->addItem(tr("Right"), int(Qt::AlignRight));
    m_alignment->addItem(tr("Justify"), int(Qt::AlignJustify));
    const Qt::Alignment a = initial.alignment();
    m_alignment->setCurrentIndex(a & Qt::AlignHCenter                       ? 1
                                 : a & Qt::AlignJustify                     ? 3
                                 : a & (Qt::AlignRight | Qt::AlignTrailing) ? 2
                                                                            : 0);
    form->addRow(tr("&Alignment:"), m_alignment);
    m_left = addBox(tr("&Left indent (cm):"), QStringLiteral("txtLeft"), initial.leftMargin(), 0);
    m_right =
        addBox(tr("&Right indent (cm):"), QStringLiteral("txtRight"), initial.rightMargin(), 0);
    m_first =
        addBox(tr("&First line (cm):"), QStringLiteral("txtFirst"), initial.textIndent(), -20);
    m_before =
        addBox(tr("Space &before (cm):"), QStringLiteral("txtBefore"), initial.topMargin(), 0);
    m_after =
        addBox(tr("Space a&fter (cm):"), QStringLiteral("txtAfter"), initial.bottomMargin(), 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QDoubleSpinBox* ParagraphDialog::addBox(const QString& label, const QString& name, double units,
                                        double min)
{
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(name);
    box->setDecimals(2);
    box->setSingleStep(0.25);
    box->setRange(min, 20);
    box->setValue(units / kUnitsPerCm);
    static_cast<QFormLayout*>(layout())->addRow(label, box);
    return box;
}

QTextBlockFormat ParagraphDialog::format() const
{
    QTextBlockFormat f;
    f.setAlignment(Qt::Alignment(m_alignment->currentData().toInt()));
    f.setLeftMargin(units(m_left, m_initial.leftMargin()));
    f.setRightMargin(units(m_right, m_initial.rightMargin()));
    f.setTextIndent(units(m_first, m_initial.textIndent()));
    f.setTopMargin(units(m_before, m_initial.topMargin()));
    f.setBottomMargin(units(m_after, m_initial.bottomMargin()));
    return f;
}

double ParagraphDialog::units(const QDoubleSpinBox* box, double initial)
{
    const double shown = std::round(initial / kUnitsPerCm * 100.0) / 100.0;
    if (std::abs(box->value() - shown) < 0.001)
        return initial;
    return box->value() * kUnitsPerCm;
}

} // namespace quillon
