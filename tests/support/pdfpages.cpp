#include "pdfpages.h"

#include <QFile>
#include <QRegularExpression>

namespace quillon::test {

int pdfPageCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString data = QString::fromLatin1(f.readAll());
    return int(data.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

} // namespace quillon::test
