#include "search/searchquery.h"

#include "search/searchtext.h"

#include <algorithm>
#include <QRegularExpression>

namespace quillon {

SearchQuery::SearchQuery(const QString& text)
{
    // Split at double quotes: odd pieces are phrases, even ones plain words.
    const QStringList pieces = text.split('"');
    for (qsizetype p = 0; p < pieces.size(); ++p) {
        const bool phrase = p % 2 == 1;
        QStringList plainWords;
        if (phrase)
            plainWords << pieces.at(p);
        else
            plainWords =
                pieces.at(p).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        for (const QString& piece : std::as_const(plainWords)) {
            Term term;
            const QList<searchtext::Word> ws = searchtext::words(piece);
            for (const searchtext::Word& w : ws)
                term.words << w.folded;
            if (term.words.isEmpty())
                continue;
            // A character of a script without blanks is a whole word already.
            const QString last = term.words.last();
            term.prefix =
                !(last.size() <= 2 && searchtext::isUnspacedScript(last.toUcs4().value(0)));
            m_terms << term;
        }
    }
}

QString SearchQuery::fts5(const WholeWords& wholeWords) const
{
    QStringList parts;
    for (const Term& t : m_terms) {
        const QString last = t.words.last();
        if (t.prefix && wholeWords && last.size() > kIndexedPrefix) {
            if (const std::optional<QStringList> whole = wholeWords(last)) {
                if (whole->isEmpty())
                    return {};
                const QStringList before = t.words.mid(0, t.words.size() - 1);
                QStringList alternatives;
                for (const QString& w : *whole)
                    alternatives << '"' + QStringList(before + QStringList{w}).join(' ') + '"';
                parts << '(' + alternatives.join(QStringLiteral(" OR ")) + ')';
                continue;
            }
        }
        parts << '"' + t.words.join(' ') + '"' + (t.prefix ? QStringLiteral("*") : QString());
    }
    return parts.join(QStringLiteral(" AND "));
}

QString SearchQuery::tsquery() const
{
    QStringList parts;
    for (const Term& t : m_terms) {
        QStringList ws;
        for (qsizetype i = 0; i < t.words.size(); ++i)
            ws << '\'' + t.words.at(i) + '\'' +
                      (t.prefix && i == t.words.size() - 1 ? QStringLiteral(":*") : QString());
        parts << (ws.size() == 1 ? ws.first() : '(' + ws.join(QStringLiteral(" <-> ")) + ')');
    }
    return parts.join(QStringLiteral(" & "));
}

QList<SearchQuery::Span> SearchQuery::match(const QString& text) const
{
    if (m_terms.isEmpty())
        return {};
    // Most texts a search reads do not match, and most are plain ASCII,
    // whose words are their letters lowercased: a word of the query that
    // such a text does not hold, in any case, rules it out before it is
    // taken apart.
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        for (const Term& t : m_terms)
            for (const QString& w : t.words)
                if (!text.contains(w, Qt::CaseInsensitive))
                    return {};
    const QList<searchtext::Word> ws = searchtext::words(text);
    QList<Span> spans;
    for (const Term& t : m_terms) {
        bool found = false;
        const qsizetype n = t.words.size();
        for (qsizetype i = 0; i + n <= ws.size(); ++i) {
            bool here = true;
            for (qsizetype k = 0; k < n && here; ++k) {
                const QString& want = t.words.at(k);
                const QString& have = ws.at(i + k).folded;
                here = (t.prefix && k == n - 1) ? have.startsWith(want) : have == want;
            }
            if (!here)
                continue;
            found = true;
            for (qsizetype k = 0; k < n; ++k)
                spans << Span{ws.at(i + k).start, ws.at(i + k).end - ws.at(i + k).start};
        }
        if (!found)
            return {};
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
    return spans;
}

} // namespace quillon
