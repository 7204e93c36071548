#pragma once

#include <functional>
#include <optional>
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
    // For an FTS5 MATCH (bound, never part of the statement text). Given
    // `wholeWords`, a word searched as the start of longer words is turned
    // into the words of the index that begin with it (FTS5 then reads the
    // matches in order and stops at the limit, where a prefix of more than
    // its prefix indexes' length makes it collect all of them first);
    // `wholeWords` gives nothing when there are too many. An empty result
    // means no row can match.
    using WholeWords = std::function<std::optional<QStringList>(const QString& start)>;
    QString fts5(const WholeWords& wholeWords = {}) const;
    // The longest start FTS5 has a prefix index for.
    static constexpr int kIndexedPrefix = 3;
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
