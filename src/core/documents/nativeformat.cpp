#include "documents/nativeformat.h"

#include "documents/textformat.h"

#include <QTextDocument>

namespace quillon::native {

QByteArray write(const QTextDocument& document)
{
    return document.toHtml().toUtf8();
}

void read(const QByteArray& data, QTextDocument* document)
{
    const QString s = QString::fromUtf8(data);
    if (s.trimmed().isEmpty()) {
        document->clear();
        return;
    }
    if (Qt::mightBeRichText(s))
        document->setHtml(s);
    else
        document->setPlainText(text::decode(data));
}

} // namespace quillon::native
