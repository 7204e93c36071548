#include "documents/wordformat.h"

#include "common/logging.h"
#include "documents/cfbstorage.h"
#include "documents/docxpackage.h"
#include "documents/docxreader.h"
#include "documents/docxwriter.h"
#include "documents/wordbinaryreader.h"
#include "documents/wordbinarywriter.h"
#include "documents/wordmodel.h"

#include <QTextDocument>

namespace quillon::word {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool looksLikeWord(const QByteArray& data)
{
    return CfbReader::looksLikeCompoundFile(data) || DocxPackageReader::looksLikeZip(data);
}

bool read(const QByteArray& data, QTextDocument* document, QString* error, QString* notice)
{
    QList<WordParagraph> paragraphs;
    QString why;
    bool ok = false;
    bool trackedChanges = false;
    if (notice)
        notice->clear();
    if (CfbReader::looksLikeCompoundFile(data)) {
        WordBinaryReader reader;
        ok = reader.read(data, &paragraphs, &why);
        trackedChanges = reader.hadTrackedChanges();
    } else if (DocxPackageReader::looksLikeZip(data)) {
        DocxReader reader;
        ok = reader.read(data, &paragraphs, &why);
        trackedChanges = reader.hadTrackedChanges();
    } else
        why = QStringLiteral("The file is neither a Word 97-2003 document nor a Word document "
                             "in Office Open XML format.");
    if (!ok) {
        qCDebug(lcDocuments) << "Word import failed:" << why;
        setError(error, why);
        return false;
    }
    // The caller's document is only touched once the whole file has been understood.
    if (document)
        fillDocument(paragraphs, document);
    if (notice && trackedChanges)
        *notice = QStringLiteral("The document has tracked changes. They were taken as "
                                 "accepted: inserted text is kept, deleted text left out.");
    return true;
}

QByteArray writeDoc(const QTextDocument& document, QString* error)
{
    return WordBinaryWriter().write(paragraphsOf(document), error);
}

QByteArray writeDocx(const QTextDocument& document, QString* error)
{
    return DocxWriter().write(paragraphsOf(document), error);
}

} // namespace quillon::word
