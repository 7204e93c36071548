#include "documents/docxreader.h"

#include "documents/documentlimits.h"
#include "documents/docxpackage.h"
#include "documents/docxstyles.h"
#include "documents/symbolfonts.h"

#include <QXmlStreamReader>

#include <algorithm>

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

// Where the text refers to a footnote or endnote, and the mark it shows.
struct NoteReference {
    bool endnote = false;
    QString id;
    QString mark;
};

class DocumentParser final {
public:
    DocumentParser(const QByteArray& xml, const DocxStyles& styles, DocumentBudget& budget)
        : m_xml(xml), m_styles(styles), m_budget(budget)
    {
    }

    bool parse(QList<WordParagraph>* paragraphs, QString* error)
    {
        bool sawBody = false;
        while (!m_xml.atEnd() && !m_budget.exceeded()) {
            if (m_xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (!isWordMl(m_xml.namespaceUri())) {
                // Drawings and alternate content outside paragraphs hold
                // nothing of the running text.
                if (m_xml.name() == u"AlternateContent")
                    m_xml.skipCurrentElement();
                continue;
            }
            const QStringView name = m_xml.name();
            if (name == u"body") {
                sawBody = true;
            } else if (name == u"p" && m_budget.addParagraph()) {
                paragraphs->append(readParagraph());
                takeBoxes(paragraphs);
            } else if (name == u"drawing" || name == u"pict" || name == u"object") {
                m_xml.skipCurrentElement();
            }
        }
        if (!finished(error))
            return false;
        if (!sawBody) {
            setError(error, QStringLiteral("The Word document has no body."));
            return false;
        }
        return true;
    }

    // footnotes.xml or endnotes.xml: the paragraphs of each note the text
    // refers to, its reference mark where the note shows it.
    bool parseNotes(QLatin1StringView element, const QHash<QString, QString>& marks,
                    QHash<QString, QList<WordParagraph>>* notes, QString* error)
    {
        while (!m_xml.atEnd() && !m_budget.exceeded()) {
            if (m_xml.readNext() != QXmlStreamReader::StartElement ||
                !isWordMl(m_xml.namespaceUri()) || m_xml.name() != element)
                continue;
            const QString id = wordAttribute(m_xml, QLatin1StringView("id"));
            if (!marks.contains(id) || notes->contains(id)) {
                m_xml.skipCurrentElement();
                continue;
            }
            m_noteMark = marks.value(id);
            QList<WordParagraph>& note = (*notes)[id];
            while (m_xml.readNextStartElement()) {
                if (isWordMl(m_xml.namespaceUri()) && m_xml.name() == u"p" &&
                    m_budget.addParagraph()) {
                    note.append(readParagraph());
                    takeBoxes(&note);
                } else {
                    m_xml.skipCurrentElement();
                }
            }
        }
        return finished(error);
    }

    const QList<NoteReference>& references() const { return m_references; }
    bool hadTrackedChanges() const { return m_tracked; }

private:
    bool finished(QString* error)
    {
        if (m_budget.exceeded()) {
            setError(error, m_budget.error());
            return false;
        }
        if (m_xml.hasError()) {
            setError(error, QStringLiteral("The Word document's text is not well-formed XML (%1).")
                                .arg(m_xml.errorString()));
            return false;
        }
        return true;
    }

    void takeBoxes(QList<WordParagraph>* paragraphs)
    {
        paragraphs->append(m_boxes);
        m_boxes.clear();
    }

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
            if (word &&
                (name == u"ins" || name == u"del" || name == u"moveFrom" || name == u"moveTo"))
                m_tracked = true;
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

    // The paragraphs of the text boxes inside a drawing, a VML shape or
    // alternate content (whose fallback repeats the same boxes).
    void readBoxes(bool inBox)
    {
        while (m_xml.readNextStartElement()) {
            const bool word = isWordMl(m_xml.namespaceUri());
            if (m_xml.name() == u"Fallback") {
                m_xml.skipCurrentElement();
            } else if (word && m_xml.name() == u"p") {
                if (inBox && m_budget.addParagraph()) {
                    WordParagraph paragraph = readParagraph();
                    m_boxes.append(paragraph);
                } else {
                    m_xml.skipCurrentElement();
                }
            } else {
                readBoxes(inBox || (word && m_xml.name() == u"txbxContent"));
            }
        }
    }

    DocxRunProperties runProperties(const QString& paragraphStyle,
                                    const DocxRunProperties& direct) const
    {
        DocxRunProperties props = m_styles.defaults();
        props.overrideWith(m_styles.runProperties(paragraphStyle));
        if (!direct.characterStyle.isEmpty())
            props.overrideWith(m_styles.runProperties(direct.characterStyle));
        props.overrideWith(direct);
        return props;
    }

    void append(WordParagraph* paragraph, const QString& text, const WordCharFormat& format)
    {
        if (text.isEmpty() || !m_budget.addCharacters(text.size()))
            return;
        const qsizetype runs = paragraph->runs.size();
        paragraph->append(text, format);
        if (paragraph->runs.size() > runs)
            m_budget.addRun();
    }

    QString nextNoteMark(bool endnote) const
    {
        const auto count =
            std::count_if(m_references.cbegin(), m_references.cend(),
                          [endnote](const NoteReference& r) { return r.endnote == endnote; });
        return noteMark(endnote, int(count) + 1);
    }

    void readRun(const QString& paragraphStyle, WordParagraph* paragraph)
    {
        DocxRunProperties direct;
        QString text;
        // Text read so far goes in before what the run holds next.
        const auto flush = [&] {
            append(paragraph, text, runProperties(paragraphStyle, direct).resolved());
            text.clear();
        };
        const auto appendMark = [&](const QString& mark) {
            flush();
            WordCharFormat format = runProperties(paragraphStyle, direct).resolved();
            format.vertical = 1;
            append(paragraph, mark, format);
        };
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (!isWordMl(m_xml.namespaceUri())) {
                if (name == u"AlternateContent")
                    readBoxes(false);
                else
                    m_xml.skipCurrentElement();
                continue;
            }
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
            } else if (name == u"footnoteReference" || name == u"endnoteReference") {
                const bool endnote = name == u"endnoteReference";
                const bool customMark =
                    wordAttribute(m_xml, QLatin1StringView("customMarkFollows")) == u"1";
                NoteReference reference{endnote, wordAttribute(m_xml, QLatin1StringView("id")),
                                        customMark ? QString() : nextNoteMark(endnote)};
                appendMark(reference.mark);
                m_references.append(reference);
                m_xml.skipCurrentElement();
            } else if (name == u"footnoteRef" || name == u"endnoteRef") {
                appendMark(m_noteMark);
                m_xml.skipCurrentElement();
            } else if (name == u"ruby") {
                // The base text is the text; the reading above it is left out.
                flush();
                readRubyBase(paragraphStyle, paragraph);
            } else if (name == u"drawing" || name == u"pict" || name == u"object") {
                readBoxes(false);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        flush();
    }

    void readRubyBase(const QString& paragraphStyle, WordParagraph* paragraph)
    {
        while (m_xml.readNextStartElement()) {
            if (!isWordMl(m_xml.namespaceUri()) || m_xml.name() != u"rubyBase") {
                m_xml.skipCurrentElement();
                continue;
            }
            while (m_xml.readNextStartElement()) {
                if (isWordMl(m_xml.namespaceUri()) && m_xml.name() == u"r")
                    readRun(paragraphStyle, paragraph);
                else
                    m_xml.skipCurrentElement();
            }
        }
    }

    QXmlStreamReader m_xml;
    const DocxStyles& m_styles;
    DocumentBudget& m_budget;
    QList<NoteReference> m_references;
    QString m_noteMark;
    QList<WordParagraph> m_boxes;
    bool m_tracked = false;
};

} // namespace

bool DocxReader::read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error)
{
    m_trackedChanges = false;
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

    DocumentBudget budget;
    QList<WordParagraph> result;
    DocumentParser parser(document, styles, budget);
    if (!parser.parse(&result, error))
        return false;
    if (result.isEmpty())
        result.append(WordParagraph());

    // The notes follow the text, in the order the text refers to them.
    for (const bool endnote : {false, true}) {
        QHash<QString, QString> marks;
        for (const NoteReference& r : parser.references()) {
            if (r.endnote == endnote && !marks.contains(r.id))
                marks.insert(r.id, r.mark);
        }
        if (marks.isEmpty())
            continue;
        const QLatin1StringView kind =
            endnote ? QLatin1StringView("endnotes") : QLatin1StringView("footnotes");
        QString notesName = folder + kind + QStringLiteral(".xml");
        const QString target = relationshipTarget(
            documentRels, QLatin1StringView(endnote ? "/endnotes" : "/footnotes"), folder);
        if (!target.isEmpty())
            notesName = target;
        QByteArray notesXml;
        if (!package.part(notesName, &notesXml, nullptr))
            continue;
        QHash<QString, QList<WordParagraph>> notes;
        DocumentParser notesParser(notesXml, styles, budget);
        if (!notesParser.parseNotes(endnote ? QLatin1StringView("endnote")
                                            : QLatin1StringView("footnote"),
                                    marks, &notes, error))
            return false;
        for (const NoteReference& r : parser.references()) {
            if (r.endnote == endnote)
                result.append(notes.take(r.id));
        }
        m_trackedChanges = m_trackedChanges || notesParser.hadTrackedChanges();
    }
    m_trackedChanges = m_trackedChanges || parser.hadTrackedChanges();
    *paragraphs = result;
    return true;
}

} // namespace quillon::word
