#include "documents/rtfformat.h"

#include <QColor>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace quillon::rtf {

namespace {

// Text as RTF: the specials escaped, everything outside ASCII as \uN? (a
// signed 16-bit number, surrogate pairs as two escapes).
void appendEscaped(QByteArray& out, const QString& s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out.append('\\').append(char(u));
        } else if (u == '\t') {
            out.append("\\tab ");
        } else if (u == 0x2028 || u == '\n') {
            out.append("\\line ");
        } else if (u == 0x00A0) {
            out.append("\\~");
        } else if (u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1 || u < 0x20) {
            // Block and frame markers; never content.
        } else if (u < 0x80) {
            out.append(char(u));
        } else {
            out.append("\\u").append(QByteArray::number(int(int16_t(u)))).append('?');
        }
    }
}

int twips(double units)
{
    return int(std::lround(units * kTwipsPerUnit));
}

class Writer {
public:
    explicit Writer(const QTextDocument& document) : m_document(document) {}
    QByteArray run();

private:
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void collectTables();
    void writeBlock(QByteArray& out, const QTextBlock& block);
    void writeRun(QByteArray& out, const QTextCharFormat& format, const QString& text);

    const QTextDocument& m_document;
    QStringList m_fonts;
    QList<QColor> m_colors;
};

int Writer::fontIndex(const QString& family)
{
    qsizetype i = m_fonts.indexOf(family);
    if (i < 0) {
        m_fonts << family;
        i = m_fonts.size() - 1;
    }
    return int(i);
}

int Writer::colorIndex(const QColor& color)
{
    const QColor c = color.toRgb();
    for (qsizetype i = 0; i < m_colors.size(); ++i) {
        if (m_colors.at(i).rgb() == c.rgb())
            return int(i) + 1; // entry 0 is "automatic"
    }
    m_colors << c;
    return int(m_colors.size());
}

QString familyOf(const QTextCharFormat& f, const QFont& fallback)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return fallback.family();
}

void Writer::collectTables()
{
    fontIndex(m_document.defaultFont().family());
    for (QTextBlock b = m_document.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            fontIndex(familyOf(f, m_document.defaultFont()));
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                colorIndex(f.foreground().color());
            if (f.hasProperty(QTextFormat::BackgroundBrush) &&
                f.background().style() != Qt::NoBrush)
                colorIndex(f.background().color());
        }
    }
}

void Writer::writeRun(QByteArray& out, const QTextCharFormat& f, const QString& text)
{
    const QFont def = m_document.defaultFont();
    double points = f.fontPointSize();
    if (points <= 0)
        points = def.pointSizeF() > 0 ? def.pointSizeF() : 12.0;
    out.append("{\\f").append(QByteArray::number(fontIndex(familyOf(f, def))));
    out.append("\\fs").append(QByteArray::number(int(std::lround(points * 2))));
    if (f.fontWeight() >= QFont::DemiBold)
        out.append("\\b");
    if (f.fontItalic())
        out.append("\\i");
    if (f.fontUnderline())
        out.append("\\ul");
    if (f.fontStrikeOut())
        out.append("\\strike");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out.append("\\super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out.append("\\sub");
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        out.append("\\cf").append(QByteArray::number(colorIndex(f.foreground().color())));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        out.append("\\highlight").append(QByteArray::number(colorIndex(f.background().color())));
    out.append(' ');
    appendEscaped(out, text);
    out.append('}');
}

void Writer::writeBlock(QByteArray& out, const QTextBlock& block)
{
    const QTextBlockFormat bf = block.blockFormat();
    out.append("\\pard");
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        out.append("\\qc");
    else if (a & Qt::AlignJustify)
        out.append("\\qj");
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        out.append("\\qr");
    else
        out.append("\\ql");
    const auto number = [&out](const char* word, double units) {
        const int v = twips(units);
        if (v != 0)
            out.append('\\').append(word).append(QByteArray::number(v));
    };
    number("li", bf.leftMargin() + bf.indent() * m_document.indentWidth());
    number("ri", bf.rightMargin());
    number("fi", bf.textIndent());
    number("sb", bf.topMargin());
    number("sa", bf.bottomMargin());
    if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        out.append("\\pagebb");
    out.append(' ');
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (frag.isValid())
            writeRun(out, frag.charFormat(), frag.text());
    }
    // An empty paragraph still carries its size, so its height survives.
    if (block.length() <= 1)
        writeRun(out, block.charFormat(), QString());
    out.append("\\par\n");
}

QByteArray Writer::run()
{
    collectTables();
    QByteArray body;
    for (QTextBlock b = m_document.begin(); b.isValid(); b = b.next())
        writeBlock(body, b);

    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out.append("{\\f").append(QByteArray::number(i)).append("\\fnil\\fcharset0 ");
        appendEscaped(out, m_fonts.at(i));
        out.append(";}");
    }
    out.append("}\n{\\colortbl;");
    for (const QColor& c : m_colors) {
        out.append("\\red").append(QByteArray::number(c.red()));
        out.append("\\green").append(QByteArray::number(c.green()));
        out.append("\\blue").append(QByteArray::number(c.blue())).append(';');
    }
    out.append("}\n");
    out.append(body);
    out.append("}\n");
    return out;
}

} // namespace

QByteArray write(const QTextDocument& document)
{
    return Writer(document).run();
}

} // namespace quillon::rtf
