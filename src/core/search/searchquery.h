#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// What a user typed into the search box: words, each found at the start of
// a word ("voc" finds "vocal"), all of them required; text in double quotes
// a phrase, its words in that order; case and accents ignored. Turned into
// the query of either engine, and checked again against the stored text,
// which also tells where the matching words stand.
class SearchQuery final {
public:
    explicit SearchQuery(const QString& text);

    bool isEmpty() const { return m_terms.isEmpty(); }
    // For an FTS5 MATCH (bound, never part of the statement text).
    QString fts5() const;
    // For PostgreSQL's to_tsquery('simple', ?) (bound likewise).
    QString tsquery() const;

    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Span&) const = default;
    };
    // Where every term matches in text, or nothing when one of them does not.
    QList<Span> match(const QString& text) const;

private:
    // A run of words that must stand together (one word for a plain term);
    // the last one may be the start of a longer word.
    struct Term {
        QStringList words;
        bool prefix = true;
    };
    QList<Term> m_terms;
};

} // namespace quillon
