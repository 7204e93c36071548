#pragma once

#include "documents/wordmodel.h"

#include <QHash>

#include <optional>

class QXmlStreamReader;

namespace quillon::word {

inline constexpr QLatin1StringView kWordMlNamespace{
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main"};
// The same vocabulary in files saved as "Strict Open XML".
inline constexpr QLatin1StringView kStrictWordMlNamespace{
    "http://purl.oclc.org/ooxml/wordprocessingml/main"};

// Whether an element or attribute is WordprocessingML, in either namespace.
bool isWordMl(QStringView namespaceUri);
// A WordprocessingML attribute of the current element (a copy: the
// attribute list the reader hands out is a temporary).
QString wordAttribute(const QXmlStreamReader& xml, QLatin1StringView name);

// Run properties as a .docx states them: each one may be left open so that
// direct formatting, character style, paragraph style and document
// defaults can be layered.
struct DocxRunProperties : WordRunLayer {
    std::optional<double> pointSize;
    std::optional<QString> font;
    QString characterStyle;

    void overrideWith(const DocxRunProperties& other);
    WordCharFormat resolved() const;
};

struct DocxStyle {
    QString basedOn;
    DocxRunProperties run;
    std::optional<WordAlignment> alignment;
};

// Reads <w:rPr> children; the reader stands on the start of w:rPr and is left on its end.
DocxRunProperties readDocxRunProperties(QXmlStreamReader& xml);
std::optional<WordAlignment> docxAlignment(QStringView value);

// word/styles.xml: document defaults and the named styles.
class DocxStyles final {
public:
    void read(const QByteArray& xml);

    QString defaultParagraphStyle() const { return m_defaultParagraph; }
    // The run properties and alignment a style gives, its basedOn chain applied.
    DocxRunProperties runProperties(const QString& styleId) const;
    std::optional<WordAlignment> alignment(const QString& styleId) const;
    const DocxRunProperties& defaults() const { return m_defaults; }

private:
    QHash<QString, DocxStyle> m_styles;
    DocxRunProperties m_defaults;
    QString m_defaultParagraph;
};

} // namespace quillon::word
