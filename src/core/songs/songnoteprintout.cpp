#include "songs/songnoteprintout.h"

#include "printing/pagesink.h"
#include "songs/tracksheetlayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace quillon {

QStringList SongNotePrintout::lines(const QString& title, const QString& note, const QDate& today)
{
    QStringList out{rule(), title, QString(),
                    QStringLiteral("Songinfo") + QStringLiteral("      ") +
                        TrackSheetLayout::dateText(today),
                    rule()};
    QString text = note;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out << text.split(QLatin1Char('\n'));
    return out;
}

QFont SongNotePrintout::font()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(10);
    return f;
}

bool SongNotePrintout::print(PageSink& sink, const QStringList& lines)
{
    QPainter* painter = sink.painter();
    if (!painter)
        return false;
    const QFont twips = PageSink::twipsFont(font());
    const QFontMetricsF metrics(twips);
    const QSizeF page = sink.pageSizeTwips();
    const double lineHeight = metrics.lineSpacing();
    double y = 0;
    for (const QString& line : lines) {
        // Break a long line where it would leave the page, at a blank if any.
        QTextLayout layout(line, twips);
        layout.beginLayout();
        QStringList pieces;
        for (QTextLine tl = layout.createLine(); tl.isValid(); tl = layout.createLine()) {
            tl.setLineWidth(page.width());
            pieces << line.mid(tl.textStart(), tl.textLength());
        }
        layout.endLayout();
        if (pieces.isEmpty())
            pieces << QString();
        for (const QString& piece : pieces) {
            if (y + lineHeight > page.height() && y > 0) {
                if (!sink.newPage())
                    return false;
                painter = sink.painter();
                y = 0;
            }
            if (!piece.isEmpty())
                sink.drawText(0, y + metrics.ascent(), piece, font());
            y += lineHeight;
        }
    }
    return true;
}

} // namespace quillon
