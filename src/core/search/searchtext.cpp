#include "search/searchtext.h"

#include <QStringView>

namespace quillon::searchtext {

bool isUnspacedScript(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
    case QChar::Script_Tibetan:
    case QChar::Script_Yi:
        return true;
    default:
        return false;
    }
}

namespace {
// One letter folded: accents dropped (the base letters of its compatibility
// decomposition), case folded, ß and its kin spelled out.
QString foldLetter(char32_t c)
{
    QString letters;
    for (const char32_t d :
         QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD).toUcs4())
        if (QChar::isLetterOrNumber(d))
            letters += QString::fromUcs4(&d, 1);
    letters = letters.toCaseFolded();
    static const std::pair<char16_t, const char*> kSpelled[] = {
        {0x00DF, "ss"}, {0x1E9E, "ss"}, {0x00E6, "ae"}, {0x0153, "oe"},
        {0x00F8, "o"},  {0x0142, "l"},  {0x0111, "d"},  {0x0131, "i"}};
    for (const auto& [from, to] : kSpelled)
        letters.replace(QChar(from), QLatin1String(to));
    return letters;
}

bool partOfWord(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    // A combining mark belongs to the letter before it.
    return QChar::isLetterOrNumber(c) || QChar::category(c) == QChar::Mark_NonSpacing ||
           QChar::category(c) == QChar::Mark_SpacingCombining;
}
} // namespace

QList<Word> words(const QString& text)
{
    QList<Word> result;
    Word current;
    bool inWord = false;
    auto finish = [&](qsizetype at) {
        if (inWord && !current.folded.isEmpty()) {
            current.end = at;
            result << current;
        }
        current = Word();
        inWord = false;
    };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        char32_t c = text.at(i).unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            width = 2;
        }
        if (isUnspacedScript(c)) {
            finish(i);
            result << Word{QString::fromUcs4(&c, 1), i, i + width};
        } else if (partOfWord(c)) {
            if (!inWord) {
                inWord = true;
                current.start = i;
            }
            if (c < 0x80)
                current.folded += QChar(char16_t(c >= 'A' && c <= 'Z' ? c + 32 : c));
            else
                current.folded += foldLetter(c);
        } else {
            finish(i);
        }
        i += width;
    }
    finish(n);
    return result;
}

QString normalize(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const Word& w : words(text)) {
        if (!out.isEmpty())
            out += ' ';
        out += w.folded;
    }
    return out;
}

QString plainFromStored(const QString& stored)
{
    const QStringView head = QStringView(stored).left(200).trimmed();
    const bool html = head.startsWith(u"<!DOCTYPE", Qt::CaseInsensitive) ||
                      head.startsWith(u"<html", Qt::CaseInsensitive) ||
                      head.startsWith(u"<meta", Qt::CaseInsensitive);
    if (!html)
        return stored;
    QString out;
    out.reserve(stored.size() / 2);
    const qsizetype n = stored.size();
    qsizetype i = 0;
    // What the head holds (the style sheet, the title) is not the text.
    const qsizetype body = stored.indexOf(QLatin1String("<body"), 0, Qt::CaseInsensitive);
    if (body >= 0)
        i = body;
    while (i < n) {
        const QChar c = stored.at(i);
        if (c == '<') {
            const qsizetype close = stored.indexOf('>', i);
            if (close < 0)
                break;
            const QStringView tag = QStringView(stored).mid(i + 1, close - i - 1);
            if (tag.startsWith(u"p", Qt::CaseInsensitive) ||
                tag.startsWith(u"br", Qt::CaseInsensitive) ||
                tag.startsWith(u"/p", Qt::CaseInsensitive) ||
                tag.startsWith(u"li", Qt::CaseInsensitive) ||
                tag.startsWith(u"td", Qt::CaseInsensitive))
                out += '\n';
            i = close + 1;
            continue;
        }
        if (c == '&') {
            const qsizetype semi = stored.indexOf(';', i);
            if (semi > i && semi - i <= 10) {
                const QStringView name = QStringView(stored).mid(i + 1, semi - i - 1);
                char32_t code = 0;
                if (name.startsWith(u"#x") || name.startsWith(u"#X"))
                    code = name.mid(2).toUInt(nullptr, 16);
                else if (name.startsWith(u"#"))
                    code = name.mid(1).toUInt();
                else if (name == u"amp")
                    code = '&';
                else if (name == u"lt")
                    code = '<';
                else if (name == u"gt")
                    code = '>';
                else if (name == u"quot")
                    code = '"';
                else if (name == u"apos")
                    code = '\'';
                else if (name == u"nbsp")
                    code = ' ';
                if (code != 0) {
                    out += QString::fromUcs4(&code, 1);
                    i = semi + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out.trimmed();
}

} // namespace quillon::searchtext
