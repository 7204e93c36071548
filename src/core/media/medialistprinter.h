#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace quillon {

class PageSink;

// Prints the plain-text media list line by line in "Courier New" on a page
// sink, as the job "Tapes-HD-CD", breaking pages when a page is full. The
// font shrinks (never below 6 points) until a 100-character rule fits the
// page width, so the rules and columns are never clipped.
class MediaListPrinter final {
public:
    static QString jobName() { return QStringLiteral("Tapes-HD-CD"); }
    static constexpr double kPreferredPoints = 10.0;
    static constexpr double kSmallestPoints = 6.0;

    // Lines as printed: tabs expanded to the next multiple of eight columns
    // (a painter draws no tab stops), the final line feed dropping no line.
    static QStringList printedLines(const QString& listText);
    // The font used for a page of the given width in twips.
    static QFont listFont(double pageWidthTwips);

    // Runs the whole job; false with lastError() when the sink refused.
    bool print(PageSink& sink, const QString& listText);
    int pagesPrinted() const { return m_pages; }
    QString lastError() const { return m_lastError; }

private:
    QString m_lastError;
    int m_pages = 0;
};

} // namespace quillon
