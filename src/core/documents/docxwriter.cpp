#include "documents/docxwriter.h"

#include "documents/docxpackage.h"
#include "documents/docxstyles.h"

#include <QXmlStreamWriter>

namespace quillon::word {

namespace {

const char kContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(</Types>)";

const char kPackageRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

QString alignmentValue(WordAlignment alignment)
{
    switch (alignment) {
    case WordAlignment::Center:
        return QStringLiteral("center");
    case WordAlignment::Right:
        return QStringLiteral("right");
    case WordAlignment::Justify:
        return QStringLiteral("both");
    case WordAlignment::Left:
        break;
    }
    return QStringLiteral("left");
}

// The order of the elements is fixed by the schema; Word rejects others.
void writeRunProperties(QXmlStreamWriter& xml, const WordCharFormat& format)
{
    const QString ns = kWordMlNamespace;
    xml.writeStartElement(ns, QStringLiteral("rPr"));
    if (!format.font.isEmpty()) {
        xml.writeEmptyElement(ns, QStringLiteral("rFonts"));
        for (const char* name : {"ascii", "hAnsi", "cs", "eastAsia"})
            xml.writeAttribute(ns, QLatin1String(name), format.font);
    }
    if (format.bold)
        xml.writeEmptyElement(ns, QStringLiteral("b"));
    if (format.italic)
        xml.writeEmptyElement(ns, QStringLiteral("i"));
    if (format.strike)
        xml.writeEmptyElement(ns, QStringLiteral("strike"));
    if (format.color.isValid()) {
        xml.writeEmptyElement(ns, QStringLiteral("color"));
        xml.writeAttribute(ns, QStringLiteral("val"), format.color.name().mid(1).toUpper());
    }
    if (format.pointSize > 0) {
        xml.writeEmptyElement(ns, QStringLiteral("sz"));
        xml.writeAttribute(ns, QStringLiteral("val"),
                           QString::number(qBound(2, qRound(format.pointSize * 2), 3276)));
    }
    if (format.underline) {
        xml.writeEmptyElement(ns, QStringLiteral("u"));
        xml.writeAttribute(ns, QStringLiteral("val"), QStringLiteral("single"));
    }
    if (format.vertical != 0) {
        xml.writeEmptyElement(ns, QStringLiteral("vertAlign"));
        xml.writeAttribute(ns, QStringLiteral("val"),
                           format.vertical > 0 ? QStringLiteral("superscript")
                                               : QStringLiteral("subscript"));
    }
    xml.writeEndElement();
}

void writeText(QXmlStreamWriter& xml, const QString& text)
{
    if (text.isEmpty())
        return;
    xml.writeStartElement(kWordMlNamespace, QStringLiteral("t"));
    xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    xml.writeCharacters(text);
    xml.writeEndElement();
}

void writeRun(QXmlStreamWriter& xml, const WordRun& run)
{
    const QString ns = kWordMlNamespace;
    xml.writeStartElement(ns, QStringLiteral("r"));
    writeRunProperties(xml, run.format);
    QString pending;
    for (const QChar c : run.text) {
        if (c == u'\t' || c == QChar::LineSeparator) {
            writeText(xml, pending);
            pending.clear();
            xml.writeEmptyElement(ns, c == u'\t' ? QStringLiteral("tab") : QStringLiteral("br"));
        } else {
            pending += c;
        }
    }
    writeText(xml, pending);
    xml.writeEndElement();
}

} // namespace

QByteArray DocxWriter::documentXml(const QList<WordParagraph>& paragraphs)
{
    const QString ns = kWordMlNamespace;
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeNamespace(ns, QStringLiteral("w"));
    xml.writeStartElement(ns, QStringLiteral("document"));
    xml.writeStartElement(ns, QStringLiteral("body"));
    for (const WordParagraph& paragraph : paragraphs) {
        xml.writeStartElement(ns, QStringLiteral("p"));
        xml.writeStartElement(ns, QStringLiteral("pPr"));
        xml.writeEmptyElement(ns, QStringLiteral("jc"));
        xml.writeAttribute(ns, QStringLiteral("val"), alignmentValue(paragraph.alignment));
        if (!paragraph.runs.isEmpty())
            writeRunProperties(xml, paragraph.runs.first().format);
        xml.writeEndElement();
        for (const WordRun& run : paragraph.runs)
            writeRun(xml, run);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray DocxWriter::write(const QList<WordParagraph>& paragraphs, QString* error)
{
    const QList<DocxPart> parts{
        {QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes)},
        {QStringLiteral("_rels/.rels"), QByteArray(kPackageRels)},
        {QStringLiteral("word/document.xml"), documentXml(paragraphs)},
    };
    return DocxPackageWriter::write(parts, error);
}

} // namespace quillon::word
