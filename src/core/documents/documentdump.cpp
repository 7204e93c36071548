#include "documents/documentdump.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace quillon {

namespace {

QString alignmentName(Qt::Alignment a)
{
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return QStringLiteral("right");
    return QStringLiteral("left");
}

QString yesNo(bool b)
{
    return b ? QStringLiteral("yes") : QStringLiteral("no");
}

// Quotes run text so that tabs, line breaks and quotes stay visible.
QString quoted(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == '"' || c == '\\')
            out += '\\' + QString(c);
        else if (c == '\t')
            out += QStringLiteral("\\t");
        else if (c == QChar(0x2028) || c == '\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out + '"';
}

} // namespace

QStringList dumpDocument(const QTextDocument& document)
{
    QStringList lines;
    const QFont def = document.defaultFont();
    int number = 0;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        lines << QStringLiteral("paragraph %1 align=%2")
                     .arg(++number)
                     .arg(alignmentName(b.blockFormat().alignment()));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid())
                continue;
            const QTextCharFormat f = frag.charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            const QString family = families.isEmpty() ? def.family() : families.first();
            const double size = f.fontPointSize() > 0 ? f.fontPointSize() : def.pointSizeF();
            const QString color = f.hasProperty(QTextFormat::ForegroundBrush)
                                      ? f.foreground().color().name()
                                      : QStringLiteral("auto");
            lines << QStringLiteral("  run %1 font=\"%2\" size=%3 bold=%4 italic=%5 "
                                    "underline=%6 color=%7")
                         .arg(quoted(frag.text()), family, QString::number(size))
                         .arg(yesNo(f.fontWeight() >= QFont::DemiBold), yesNo(f.fontItalic()),
                              yesNo(f.fontUnderline()), color);
        }
    }
    return lines;
}

} // namespace quillon
