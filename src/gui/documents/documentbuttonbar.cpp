#include "documents/documentbuttonbar.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTextCharFormat>
#include <QToolButton>

namespace quillon {

DocumentButtonBar::DocumentButtonBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    m_font = new QFontComboBox(this);
    m_font->setObjectName(QStringLiteral("cboFont"));
    m_font->setToolTip(tr("Font"));
    layout->addWidget(m_font);

    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("cboSize"));
    m_size->setToolTip(tr("Font size"));
    m_size->setEditable(true);
    for (int s : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 48, 72})
        m_size->addItem(QString::number(s));
    m_size->setMinimumContentsLength(3);
    layout->addWidget(m_size);

    m_bold = addButton(tr("B"), tr("Bold"), QStringLiteral("btnBold"));
    QFont f = m_bold->font();
    f.setBold(true);
    m_bold->setFont(f);
    m_italic = addButton(tr("I"), tr("Italic"), QStringLiteral("btnItalic"));
    f = m_italic->font();
    f.setItalic(true);
    m_italic->setFont(f);
    m_underline = addButton(tr("U"), tr("Underline"), QStringLiteral("btnUnderline"));
    f = m_underline->font();
    f.setUnderline(true);
    m_underline->setFont(f);
    for (QToolButton* b : {m_bold, m_italic, m_underline})
        layout->addWidget(b);
    layout->addSpacing(8);

    m_left = addButton(tr("Left"), tr("Align left"), QStringLiteral("btnAlignLeft"));
    m_center = addButton(tr("Centre"), tr("Centre"), QStringLiteral("btnAlignCenter"));
    m_right = addButton(tr("Right"), tr("Align right"), QStringLiteral("btnAlignRight"));
    m_justify = addButton(tr("Justify"), tr("Justify"), QStringLiteral("btnAlignJustify"));
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QToolButton* b : {m_left, m_center, m_right, m_justify}) {
        group->addButton(b);
        layout->addWidget(b);
    }
    layout->addStretch(1);

    connect(m_bold, &QToolButton::toggled, this, [this](bool on) {
        if (!m_updating)
            Q_EMIT boldToggled(on);
    });
    connect(m_italic, &QToolButton::toggled, this, [this](bool on) {
        if (!m_updating)
            Q_EMIT italicToggled(on);
    });
    connect(m_underline, &QToolButton::toggled, this, [this](bool on) {
        if (!m_updating)
            Q_EMIT underlineToggled(on);
    });
    const auto align = [this](QToolButton* b, Qt::Alignment a) {
        connect(b, &QToolButton::clicked, this, [this, a] {
            if (!m_updating)
                Q_EMIT alignmentChosen(a);
        });
    };
    align(m_left, Qt::AlignLeft);
    align(m_center, Qt::AlignHCenter);
    align(m_right, Qt::AlignRight);
    align(m_justify, Qt::AlignJustify);
    connect(m_font, &QFontComboBox::textActivated, this, [this](const QString& family) {
        if (!m_updating)
            Q_EMIT fontChosen(family);
    });
    connect(m_size, &QComboBox::textActivated, this, &DocumentButtonBar::sizeEntered);
}

QToolButton* DocumentButtonBar::addButton(const QString& text, const QString& tip,
                                          const QString& name)
{
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setToolTip(tip);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QToolButton* DocumentButtonBar::alignButton(Qt::Alignment alignment) const
{
    if (alignment & Qt::AlignHCenter)
        return m_center;
    if (alignment & Qt::AlignJustify)
        return m_justify;
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        return m_right;
    return m_left;
}

void DocumentButtonBar::sizeEntered()
{
    if (m_updating)
        return;
    bool ok = false;
    const double points = m_size->currentText().toDouble(&ok);
    // Sizes outside what any printer can show are refused quietly.
    if (ok && points >= 1 && points <= 1638)
        Q_EMIT sizeChosen(points);
}

void DocumentButtonBar::showFormat(const QTextCharFormat& format, Qt::Alignment alignment)
{
    m_updating = true;
    m_bold->setChecked(format.fontWeight() >= QFont::DemiBold);
    m_italic->setChecked(format.fontItalic());
    m_underline->setChecked(format.fontUnderline());
    alignButton(alignment)->setChecked(true);
    const QFont font = format.font();
    m_font->setCurrentFont(font);
    m_size->setEditText(QString::number(font.pointSizeF()));
    m_updating = false;
}

} // namespace quillon
