#include "documents/wordmodel.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quillon::word {

QString noteMark(bool endnote, int number)
{
    if (!endnote)
        return QString::number(number);
    static const std::pair<int, const char*> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& [value, digits] : kDigits) {
        for (; number >= value; number -= value)
            out += QLatin1String(digits);
    }
    return out;
}

void WordRunLayer::overrideWith(const WordRunLayer& other)
{
    overrideIfGiven(bold, other.bold);
    overrideIfGiven(italic, other.italic);
    overrideIfGiven(underline, other.underline);
    overrideIfGiven(strike, other.strike);
    overrideIfGiven(vertical, other.vertical);
    overrideIfGiven(color, other.color);
}

void WordRunLayer::resolveInto(WordCharFormat* format) const
{
    format->bold = bold.value_or(false);
    format->italic = italic.value_or(false);
    format->underline = underline.value_or(false);
    format->strike = strike.value_or(false);
    format->vertical = vertical.value_or(0);
    format->color = color && color->isValid() ? *color : QColor();
}

void WordParagraph::append(const QString& text, const WordCharFormat& format)
{
    if (text.isEmpty())
        return;
    if (!runs.isEmpty() && runs.last().format == format)
        runs.last().text += text;
    else
        runs.append({text, format});
}

namespace {

Qt::Alignment toQt(WordAlignment alignment)
{
    switch (alignment) {
    case WordAlignment::Center:
        return Qt::AlignHCenter;
    case WordAlignment::Right:
        return Qt::AlignRight;
    case WordAlignment::Justify:
        return Qt::AlignJustify;
    case WordAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

WordAlignment fromQt(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return WordAlignment::Center;
    if (alignment & Qt::AlignRight)
        return WordAlignment::Right;
    if (alignment & Qt::AlignJustify)
        return WordAlignment::Justify;
    return WordAlignment::Left;
}

QTextCharFormat toQt(const WordCharFormat& format)
{
    QTextCharFormat result;
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strike);
    if (format.vertical != 0)
        result.setVerticalAlignment(format.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                        : QTextCharFormat::AlignSubScript);
    if (format.pointSize > 0)
        result.setFontPointSize(format.pointSize);
    if (!format.font.isEmpty())
        result.setFontFamilies(QStringList{format.font});
    if (format.color.isValid())
        result.setForeground(format.color);
    return result;
}

QString familyOf(const QTextCharFormat& format, const QFont& fallback)
{
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty() && !list.first().isEmpty())
            return list.first();
    }
    if (format.hasProperty(QTextFormat::FontFamily)) {
        const QString family = format.property(QTextFormat::FontFamily).toString();
        if (!family.isEmpty())
            return family;
    }
    return fallback.family();
}

WordCharFormat fromQt(const QTextCharFormat& format, const QFont& fallback)
{
    WordCharFormat result;
    const int weight =
        format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : fallback.weight();
    result.bold = weight >= QFont::DemiBold;
    result.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : fallback.italic();
    result.underline = format.fontUnderline();
    result.strike = format.fontStrikeOut();
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        result.vertical = 1;
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        result.vertical = -1;
    result.pointSize = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                      : fallback.pointSizeF();
    if (result.pointSize <= 0)
        result.pointSize = 12;
    result.font = familyOf(format, fallback);
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        const QBrush brush = format.foreground();
        if (brush.style() != Qt::NoBrush)
            result.color = brush.color();
    }
    return result;
}

// Text as it may stand in a QTextDocument: a stray newline would split the
// paragraph, and half a surrogate pair or a non-character could not be
// written to XML again.
QString documentText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if (c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            result += QChar(QChar::ReplacementCharacter);
        } else if (c == u'\n' || c == u'\r') {
            result += u' ';
        } else if (c == QChar::ParagraphSeparator) {
            result += QChar::LineSeparator;
        } else if (c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F &&
                                  c != QChar::ObjectReplacementCharacter)) {
            result += c;
        }
    }
    return result;
}

// Word keeps line breaks and tabs in the text; anything else below a blank
// would be read as a structure mark by the next program that opens the file.
QString cleanText(QString text)
{
    for (QChar& c : text) {
        if (c == u'\v' || c == u'\n' || c == u'\r')
            c = QChar::LineSeparator;
    }
    return documentText(text);
}

} // namespace

void fillDocument(const QList<WordParagraph>& paragraphs, QTextDocument* document)
{
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    for (const WordParagraph& paragraph : paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(toQt(paragraph.alignment));
        if (first)
            cursor.setBlockFormat(blockFormat);
        else
            cursor.insertBlock(blockFormat);
        first = false;
        for (const WordRun& run : paragraph.runs)
            cursor.insertText(documentText(run.text), toQt(run.format));
        if (!paragraph.runs.isEmpty())
            cursor.setBlockCharFormat(toQt(paragraph.runs.first().format));
    }
    cursor.endEditBlock();
}

QList<WordParagraph> paragraphsOf(const QTextDocument& document)
{
    QList<WordParagraph> result;
    const QFont fallback = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        WordParagraph paragraph;
        paragraph.alignment = fromQt(block.blockFormat().alignment());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                paragraph.append(cleanText(fragment.text()),
                                 fromQt(fragment.charFormat(), fallback));
        }
        result.append(paragraph);
    }
    return result;
}

} // namespace quillon::word
