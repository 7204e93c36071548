#pragma once

#include <QDate>
#include <QFont>
#include <QStringList>

namespace quillon {

class PageSink;

// The song note printout: a rule, the title, an empty line, "Songinfo" with
// the date, a rule, then the note.
class SongNotePrintout final {
public:
    static QString rule() { return QString(59, QLatin1Char('-')); }
    // The printout's lines in order; the note keeps its own line breaks.
    static QStringList lines(const QString& title, const QString& note, const QDate& today);
    static QFont font();

    // Prints the lines on the sink's open job, one under the other; long
    // lines wrap at the page width and a full page continues on the next.
    static bool print(PageSink& sink, const QStringList& lines);
};

} // namespace quillon
