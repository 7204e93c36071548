#include "documents/nativeformat.h"

#include "documents/documentlimits.h"
#include "documents/textformat.h"

#include <QTextDocument>

namespace quillon::native {

QByteArray write(const QTextDocument& document)
{
    return document.toHtml().toUtf8();
}

bool read(const QByteArray& data, QTextDocument* document, QString* error)
{
    const QString s = QString::fromUtf8(data);
    if (s.trimmed().isEmpty()) {
        document->clear();
        return true;
    }
    if (!Qt::mightBeRichText(s))
        return text::read(data, document, error);
    // The HTML reader needs about a kilobyte for every tag before the
    // document exists: count them first, then what became of them.
    DocumentBudget budget;
    if (budget.addMarkup(s)) {
        document->setHtml(s);
        if (budget.addDocument(*document))
            return true;
        document->clear();
    }
    if (error)
        *error = budget.error();
    return false;
}

} // namespace quillon::native
