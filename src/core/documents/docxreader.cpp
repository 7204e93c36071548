#include "documents/docxreader.h"

#include "documents/documentlimits.h"
#include "documents/docxpackage.h"
#include "documents/docxstyles.h"
#include "documents/symbolfonts.h"

#include <QXmlStreamReader>

namespace quillon::word {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The target of the first relationship whose type ends in typeSuffix,
// resolved against the folder of the part the relationships belong to.
QString relationshipTarget(const QByteArray& rels, QLatin1StringView typeSuffix,
                           const QString& baseFolder)
{
    QXmlStreamReader xml(rels);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!attributes.value(QLatin1StringView("Type")).endsWith(typeSuffix))
            continue;
        QString target = attributes.value(QLatin1StringView("Target")).toString();
        if (target.startsWith(QLatin1Char('/')))
            return target.mid(1);
        return baseFolder + target;
    }
    return {};
}

class DocumentParser final {
public:
    DocumentParser(const QByteArray& xml, const DocxStyles& styles) : m_xml(xml), m_styles(styles)
    {
    }

    bool parse(QList<WordParagraph>* paragraphs, QString* error)
    {
        bool sawBody = false;
        while (!m_xml.atEnd() && !m_budget.exceeded()) {
            if (m_xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (!isWordMl(m_xml.namespaceUri())) {
                // Drawings and alternate content hold text boxes with paragraphs
                // of their own; they are not part of the running text.
                if (m_xml.name() == u"AlternateContent")
                    m_xml.skipCurrentElement();
                continue;
            }
            const QStringView name = m_xml.name();
            if (name == u"body")
                sawBody = true;
            else if (name == u"p" && m_budget.addParagraph())
                paragraphs->append(readParagraph());
            else if (name == u"drawing" || name == u"pict" || name == u"object")
                m_xml.skipCurrentElement();
        }
        if (m_budget.exceeded()) {
            setError(error, m_budget.error());
            return false;
        }
        if (m_xml.hasError()) {
            setError(error, QStringLiteral("The Word document's text is not well-formed XML (%1).")
                                .arg(m_xml.errorString()));
            return false;
        }
        if (!sawBody) {
            setError(error, QStringLiteral("The Word document has no body."));
            return false;
        }
        return true;
    }

private:
    WordParagraph readParagraph()
    {
        WordParagraph paragraph;
        QString style = m_styles.defaultParagraphStyle();
        std::optional<WordAlignment> alignment;
        int depth = 1;
        while (depth > 0 && !m_xml.atEnd() && !m_budget.exceeded()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            const bool word = isWordMl(m_xml.namespaceUri());
            const QStringView name = m_xml.name();
            if (!word) {
                m_xml.skipCurrentElement();
            } else if (name == u"pPr") {
                readParagraphProperties(&style, &alignment);
            } else if (name == u"r") {
                readRun(style, &paragraph);
            } else if (name == u"drawing" || name == u"pict" || name == u"object" ||
                       name == u"del" || name == u"moveFrom" || name == u"p") {
                m_xml.skipCurrentElement();
            } else {
                ++depth; // hyperlinks, smart tags, insertions: their runs count
            }
        }
        paragraph.alignment =
            alignment.value_or(m_styles.alignment(style).value_or(WordAlignment::Left));
        return paragraph;
    }

    void readParagraphProperties(QString* style, std::optional<WordAlignment>* alignment)
    {
        while (m_xml.readNextStartElement()) {
            if (isWordMl(m_xml.namespaceUri())) {
                if (m_xml.name() == u"pStyle")
                    *style = wordAttribute(m_xml, QLatin1StringView("val"));
                else if (m_xml.name() == u"jc")
                    *alignment = docxAlignment(wordAttribute(m_xml, QLatin1StringView("val")));
            }
            m_xml.skipCurrentElement();
        }
    }

    void readRun(const QString& paragraphStyle, WordParagraph* paragraph)
    {
        DocxRunProperties direct;
        QString text;
        while (m_xml.readNextStartElement()) {
            if (!isWordMl(m_xml.namespaceUri())) {
                m_xml.skipCurrentElement();
                continue;
            }
            const QStringView name = m_xml.name();
            if (name == u"rPr") {
                direct = readDocxRunProperties(m_xml);
            } else if (name == u"t") {
                text += m_xml.readElementText(QXmlStreamReader::SkipChildElements);
            } else if (name == u"tab") {
                text += QLatin1Char('\t');
                m_xml.skipCurrentElement();
            } else if (name == u"br" || name == u"cr") {
                text += QChar::LineSeparator;
                m_xml.skipCurrentElement();
            } else if (name == u"sym") {
                // An inserted symbol: a font and that font's code for it.
                bool ok = false;
                const uint code = wordAttribute(m_xml, QLatin1StringView("char")).toUInt(&ok, 16);
                if (ok && code > 0 && code < 0x10000)
                    text += symbolfonts::character(wordAttribute(m_xml, QLatin1StringView("font")),
                                                   code);
                m_xml.skipCurrentElement();
            } else if (name == u"noBreakHyphen") {
                text += QChar(0x2011);
                m_xml.skipCurrentElement();
            } else {
                m_xml.skipCurrentElement();
            }
        }
        DocxRunProperties props = m_styles.defaults();
        props.overrideWith(m_styles.runProperties(paragraphStyle));
        if (!direct.characterStyle.isEmpty())
            props.overrideWith(m_styles.runProperties(direct.characterStyle));
        props.overrideWith(direct);
        if (!m_budget.addCharacters(text.size()))
            return;
        const qsizetype runs = paragraph->runs.size();
        paragraph->append(text, props.resolved());
        if (paragraph->runs.size() > runs)
            m_budget.addRun();
    }

    QXmlStreamReader m_xml;
    const DocxStyles& m_styles;
    DocumentBudget m_budget;
};

} // namespace

bool DocxReader::read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error)
{
    DocxPackageReader package;
    if (!package.open(data, error))
        return false;

    QString documentName = QStringLiteral("word/document.xml");
    QByteArray rels;
    if (package.part(QStringLiteral("_rels/.rels"), &rels, nullptr)) {
        const QString target =
            relationshipTarget(rels, QLatin1StringView("/officeDocument"), QString());
        if (!target.isEmpty() && package.contains(target))
            documentName = target;
    }
    QByteArray document;
    QString why;
    if (!package.part(documentName, &document, &why)) {
        setError(error, package.contains(documentName)
                            ? why
                            : QStringLiteral("The file is a ZIP package but not a Word document: "
                                             "it has no word/document.xml."));
        return false;
    }

    const QString folder = documentName.left(documentName.lastIndexOf(QLatin1Char('/')) + 1);
    const QString relsName = folder + QStringLiteral("_rels/") + documentName.mid(folder.size()) +
                             QStringLiteral(".rels");
    QString stylesName = folder + QStringLiteral("styles.xml");
    QByteArray documentRels;
    if (package.part(relsName, &documentRels, nullptr)) {
        const QString target =
            relationshipTarget(documentRels, QLatin1StringView("/styles"), folder);
        if (!target.isEmpty())
            stylesName = target;
    }
    DocxStyles styles;
    QByteArray stylesXml;
    if (package.part(stylesName, &stylesXml, nullptr))
        styles.read(stylesXml);

    QList<WordParagraph> result;
    DocumentParser parser(document, styles);
    if (!parser.parse(&result, error))
        return false;
    if (result.isEmpty())
        result.append(WordParagraph());
    *paragraphs = result;
    return true;
}

} // namespace quillon::word
