#include "documents/docxstyles.h"

#include "documents/documentlimits.h"

#include <QXmlStreamReader>

namespace quillon::word {

namespace {

constexpr int kMaxStyleDepth = 16;

bool toggleValue(const QXmlStreamReader& xml)
{
    const QString value = wordAttribute(xml, QLatin1StringView("val"));
    return !(value == u"0" || value == u"false" || value == u"off");
}

bool isWord(const QXmlStreamReader& xml, QLatin1StringView name)
{
    return isWordMl(xml.namespaceUri()) && xml.name() == name;
}

void readParagraphStyleProperties(QXmlStreamReader& xml, DocxStyle* style)
{
    while (xml.readNextStartElement()) {
        if (isWord(xml, QLatin1StringView("jc")))
            style->alignment = docxAlignment(wordAttribute(xml, QLatin1StringView("val")));
        xml.skipCurrentElement();
    }
}

} // namespace

bool isWordMl(QStringView namespaceUri)
{
    return namespaceUri == kWordMlNamespace || namespaceUri == kStrictWordMlNamespace;
}

QString wordAttribute(const QXmlStreamReader& xml, QLatin1StringView name)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    if (attributes.hasAttribute(kWordMlNamespace, name))
        return attributes.value(kWordMlNamespace, name).toString();
    return attributes.value(kStrictWordMlNamespace, name).toString();
}

void DocxRunProperties::overrideWith(const DocxRunProperties& other)
{
    WordRunLayer::overrideWith(other);
    overrideIfGiven(pointSize, other.pointSize);
    overrideIfGiven(font, other.font);
    if (!other.characterStyle.isEmpty())
        characterStyle = other.characterStyle;
}

WordCharFormat DocxRunProperties::resolved() const
{
    WordCharFormat format;
    resolveInto(&format);
    format.pointSize = pointSize.value_or(0);
    format.font = font.value_or(QString());
    return format;
}

std::optional<WordAlignment> docxAlignment(QStringView value)
{
    if (value == u"center")
        return WordAlignment::Center;
    if (value == u"right" || value == u"end")
        return WordAlignment::Right;
    if (value == u"both" || value == u"distribute")
        return WordAlignment::Justify;
    if (value == u"left" || value == u"start")
        return WordAlignment::Left;
    return std::nullopt;
}

DocxRunProperties readDocxRunProperties(QXmlStreamReader& xml)
{
    DocxRunProperties props;
    while (xml.readNextStartElement()) {
        if (!isWordMl(xml.namespaceUri())) {
            xml.skipCurrentElement();
            continue;
        }
        const QStringView name = xml.name();
        const QString value = wordAttribute(xml, QLatin1StringView("val"));
        if (name == u"b")
            props.bold = toggleValue(xml);
        else if (name == u"i")
            props.italic = toggleValue(xml);
        else if (name == u"strike")
            props.strike = toggleValue(xml);
        else if (name == u"u")
            props.underline = !value.isEmpty() && value != u"none";
        else if (name == u"vertAlign")
            props.vertical = value == u"superscript" ? 1 : value == u"subscript" ? -1 : 0;
        else if (name == u"sz") {
            bool ok = false;
            const int halfPoints = value.toInt(&ok);
            if (ok && halfPoints > 0 && halfPoints <= 3276)
                props.pointSize = halfPoints / 2.0;
        } else if (name == u"rFonts") {
            for (const char* attribute : {"ascii", "hAnsi", "cs", "eastAsia"}) {
                const QString font = wordAttribute(xml, QLatin1StringView(attribute));
                if (!font.isEmpty()) {
                    props.font = font;
                    break;
                }
            }
        } else if (name == u"color") {
            const QColor color(QLatin1Char('#') + value);
            if (value.size() == 6 && color.isValid())
                props.color = color;
        } else if (name == u"rStyle") {
            props.characterStyle = value;
        }
        xml.skipCurrentElement();
    }
    return props;
}

void DocxStyles::read(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || !isWordMl(xml.namespaceUri()))
            continue;
        if (xml.name() == u"rPrDefault") {
            while (xml.readNextStartElement()) {
                if (isWord(xml, QLatin1StringView("rPr")))
                    m_defaults = readDocxRunProperties(xml);
                else
                    xml.skipCurrentElement();
            }
        } else if (xml.name() == u"style") {
            const QString id = wordAttribute(xml, QLatin1StringView("styleId"));
            const QString isDefault = wordAttribute(xml, QLatin1StringView("default"));
            const bool paragraphDefault =
                wordAttribute(xml, QLatin1StringView("type")) == u"paragraph" &&
                (isDefault == u"1" || isDefault == u"true");
            DocxStyle style;
            while (xml.readNextStartElement()) {
                if (isWord(xml, QLatin1StringView("basedOn"))) {
                    style.basedOn = wordAttribute(xml, QLatin1StringView("val"));
                    xml.skipCurrentElement();
                } else if (isWord(xml, QLatin1StringView("rPr"))) {
                    style.run = readDocxRunProperties(xml);
                } else if (isWord(xml, QLatin1StringView("pPr"))) {
                    readParagraphStyleProperties(xml, &style);
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (paragraphDefault)
                m_defaultParagraph = id;
            if (!id.isEmpty() &&
                (m_styles.size() < limits::kMaxTableEntries || m_styles.contains(id)))
                m_styles.insert(id, style);
        }
    }
}

DocxRunProperties DocxStyles::runProperties(const QString& styleId) const
{
    // Collect the chain first (guarding against loops), then apply from the base up.
    QList<const DocxStyle*> chain;
    QString id = styleId;
    while (!id.isEmpty() && chain.size() < kMaxStyleDepth) {
        const auto it = m_styles.constFind(id);
        if (it == m_styles.constEnd())
            break;
        chain.prepend(&it.value());
        id = it->basedOn;
    }
    DocxRunProperties props;
    for (const DocxStyle* style : chain)
        props.overrideWith(style->run);
    props.characterStyle.clear();
    return props;
}

std::optional<WordAlignment> DocxStyles::alignment(const QString& styleId) const
{
    QString id = styleId;
    for (int depth = 0; !id.isEmpty() && depth < kMaxStyleDepth; ++depth) {
        const auto it = m_styles.constFind(id);
        if (it == m_styles.constEnd())
            break;
        if (it->alignment)
            return it->alignment;
        id = it->basedOn;
    }
    return std::nullopt;
}

} // namespace quillon::word
