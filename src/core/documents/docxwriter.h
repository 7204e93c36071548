#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>

namespace quillon::word {

// Writes paragraphs as an Office Open XML document (.docx) with every run's
// formatting given directly, so no style part is needed.
class DocxWriter final {
public:
    QByteArray write(const QList<WordParagraph>& paragraphs, QString* error);

private:
    static QByteArray documentXml(const QList<WordParagraph>& paragraphs);
};

} // namespace quillon::word
