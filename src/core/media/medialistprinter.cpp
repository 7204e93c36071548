#include "media/medialistprinter.h"

#include "common/logging.h"
#include "media/medialist.h"
#include "printing/pagesink.h"

#include <QFontMetricsF>

namespace quillon {

QStringList MediaListPrinter::printedLines(const QString& listText)
{
    QStringList lines = listText.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line feed ends the last line; it opens none
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.contains(QLatin1Char('\t')))
            continue;
        QString expanded;
        for (const QChar c : line) {
            if (c == QLatin1Char('\t'))
                expanded += QString(8 - expanded.size() % 8, QLatin1Char(' '));
            else
                expanded += c;
        }
        line = expanded;
    }
    return lines;
}

QFont MediaListPrinter::listFont(double pageWidthTwips)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    const QString rule(media::kListRuleWidth, QLatin1Char('-'));
    for (double points = kPreferredPoints; points >= kSmallestPoints; points -= 0.5) {
        font.setPointSizeF(points);
        const QFontMetricsF metrics(PageSink::twipsFont(font));
        if (metrics.horizontalAdvance(rule) <= pageWidthTwips)
            return font;
    }
    font.setPointSizeF(kSmallestPoints);
    return font;
}

bool MediaListPrinter::print(PageSink& sink, const QString& listText)
{
    m_lastError.clear();
    m_pages = 0;
    if (!sink.beginJob(jobName())) {
        m_lastError = sink.lastError();
        return false;
    }
    const QSizeF page = sink.pageSizeTwips();
    const QFont font = listFont(page.width());
    const QFontMetricsF metrics(PageSink::twipsFont(font));
    const double lineHeight = metrics.lineSpacing();
    m_pages = 1;
    double baseline = metrics.ascent();
    for (const QString& line : printedLines(listText)) {
        if (baseline + metrics.descent() > page.height() && baseline > metrics.ascent()) {
            if (!sink.newPage()) {
                m_lastError = sink.lastError();
                sink.abortJob();
                return false;
            }
            ++m_pages;
            baseline = metrics.ascent();
        }
        if (!line.isEmpty())
            sink.drawText(0, baseline, line, font);
        baseline += lineHeight;
    }
    if (!sink.endJob()) {
        m_lastError = sink.lastError();
        return false;
    }
    qCDebug(lcPrinting) << "media list printed on" << sink.deviceName() << m_pages << "pages";
    return true;
}

} // namespace quillon
