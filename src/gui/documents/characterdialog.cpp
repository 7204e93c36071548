#include "documents/characterdialog.h"

#include "common/prompter.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCharFormat>

namespace quillon {

CharacterDialog::CharacterDialog(Prompter& prompter, const QTextCharFormat& initial,
                                 QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_font(initial.font()),
      m_color(initial.hasProperty(QTextFormat::ForegroundBrush) ? initial.foreground().color()
                                                                : QColor(Qt::black))
{
    setWindowTitle(tr("Character"));
    auto* grid = new QGridLayout(this);
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("lblDescription"));
    grid->addWidget(m_description, 0, 0);
    m_fontButton = new QPushButton(tr("&Font..."), this);
    m_fontButton->setObjectName(QStringLiteral("btnFont"));
    grid->addWidget(m_fontButton, 0, 1);
    m_colorButton = new QPushButton(tr("&Colour..."), this);
    m_colorButton->setObjectName(QStringLiteral("btnColor"));
    grid->addWidget(m_colorButton, 1, 1);
    m_sample = new QLabel(tr("AaBbÄäÖöÜü 123"), this);
    m_sample->setObjectName(QStringLiteral("lblSample"));
    m_sample->setMinimumSize(260, 70);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setFrameShape(QFrame::StyledPanel);
    m_sample->setAutoFillBackground(true);
    grid->addWidget(m_sample, 1, 0, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 3, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_fontButton, &QPushButton::clicked, this, &CharacterDialog::chooseFont);
    connect(m_colorButton, &QPushButton::clicked, this, &CharacterDialog::chooseColor);
    showSample();
}

void CharacterDialog::chooseFont()
{
    if (const auto font = m_prompter.chooseFont(this, m_font)) {
        m_font = *font;
        showSample();
    }
}

void CharacterDialog::chooseColor()
{
    if (const auto color = m_prompter.chooseColor(this, m_color); color && color->isValid()) {
        m_color = *color;
        showSample();
    }
}

void CharacterDialog::showSample()
{
    QFont shown = m_font;
    // The sample shows the look, not the size of a 72 pt headline.
    shown.setPointSizeF(std::min(m_font.pointSizeF() > 0 ? m_font.pointSizeF() : 12.0, 28.0));
    m_sample->setFont(shown);
    QPalette pal = m_sample->palette();
    pal.setColor(QPalette::WindowText, m_color);
    pal.setColor(QPalette::Window, Qt::white);
    m_sample->setPalette(pal);
    m_description->setText(
        QStringLiteral("%1, %2 pt").arg(m_font.family()).arg(m_font.pointSizeF()));
}

QTextCharFormat CharacterDialog::format() const
{
    QTextCharFormat f;
    f.setFontFamilies({m_font.family()});
    if (m_font.pointSizeF() > 0)
        f.setFontPointSize(m_font.pointSizeF());
    f.setFontWeight(m_font.weight());
    f.setFontItalic(m_font.italic());
    f.setFontUnderline(m_font.underline());
    f.setFontStrikeOut(m_font.strikeOut());
    f.setForeground(m_color);
    return f;
}

} // namespace quillon
