#include "documents/documentlimits.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace quillon {

QString DocumentBudget::tooLarge(const QString& what, qsizetype limit)
{
    return QStringLiteral("The document is too large: it has more than %1 %2.")
        .arg(QString::number(qlonglong(limit)), what);
}

bool DocumentBudget::refuse(const QString& what, qsizetype limit)
{
    if (m_error.isEmpty())
        m_error = tooLarge(what, limit);
    return false;
}

bool DocumentBudget::addCharacters(qsizetype count)
{
    if (exceeded())
        return false;
    m_characters += count;
    m_paragraphCharacters += count;
    if (m_characters > limits::kMaxCharacters)
        return refuse(QStringLiteral("characters"), limits::kMaxCharacters);
    if (m_paragraphCharacters > limits::kMaxParagraphCharacters)
        return refuse(QStringLiteral("characters in one paragraph"),
                      limits::kMaxParagraphCharacters);
    return true;
}

bool DocumentBudget::addParagraph()
{
    if (exceeded())
        return false;
    if (++m_paragraphs > limits::kMaxParagraphs)
        return refuse(QStringLiteral("paragraphs"), limits::kMaxParagraphs);
    m_characters += 1;
    m_paragraphCharacters = 0;
    if (m_characters > limits::kMaxCharacters)
        return refuse(QStringLiteral("characters"), limits::kMaxCharacters);
    return true;
}

bool DocumentBudget::addText(const QString& text)
{
    if (!addParagraph())
        return false;
    for (const QChar c : text) {
        // The document starts a paragraph at a paragraph separator as well.
        const bool ok =
            (c == u'\n' || c == QChar::ParagraphSeparator) ? addParagraph() : addCharacters(1);
        if (!ok)
            return false;
    }
    return true;
}

bool DocumentBudget::addRun()
{
    if (exceeded())
        return false;
    if (++m_runs > limits::kMaxRuns)
        return refuse(QStringLiteral("changes of formatting"), limits::kMaxRuns);
    return true;
}

bool DocumentBudget::addDocument(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!addParagraph() || !addCharacters(block.length() - 1))
            return false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!addRun())
                return false;
        }
    }
    return true;
}

bool DocumentBudget::addMarkup(const QString& html)
{
    // Elements that never hold others.
    static const QStringList empty{"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                   "input", "link", "meta", "param", "source", "track", "wbr"};
    if (exceeded())
        return false;
    qsizetype tags = 0;
    int depth = 0;
    for (qsizetype i = 0; i + 1 < html.size(); ++i) {
        if (html.at(i) != u'<')
            continue;
        if (html.at(i + 1) == u'/') {
            depth = std::max(0, depth - 1);
            continue;
        }
        if (!html.at(i + 1).isLetter())
            continue;
        if (++tags > limits::kMaxMarkupTags)
            return refuse(QStringLiteral("formatting tags"), limits::kMaxMarkupTags);
        qsizetype nameEnd = i + 1;
        while (nameEnd < html.size() && html.at(nameEnd).isLetterOrNumber())
            ++nameEnd;
        const qsizetype close = html.indexOf(u'>', nameEnd);
        const bool selfClosing = close > 0 && html.at(close - 1) == u'/';
        if (!selfClosing &&
            !empty.contains(html.mid(i + 1, nameEnd - i - 1), Qt::CaseInsensitive) &&
            ++depth > limits::kMaxNesting)
            return refuse(QStringLiteral("levels of nested formatting"), limits::kMaxNesting);
        if (close < 0)
            break;
        i = close;
    }
    return true;
}

} // namespace quillon
