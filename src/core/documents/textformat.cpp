#include "documents/textformat.h"

#include "documents/codepage.h"
#include "documents/documentlimits.h"

#include <QTextDocument>

namespace quillon::text {

namespace {

QString decodeUtf16(const QByteArray& data, bool bigEndian)
{
    // Skip the two-byte mark; an odd trailing byte is dropped.
    const qsizetype units = (data.size() - 2) / 2;
    QString out;
    out.reserve(units);
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData()) + 2;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t u = bigEndian ? char16_t((p[2 * i] << 8) | p[2 * i + 1])
                                     : char16_t(p[2 * i] | (p[2 * i + 1] << 8));
        out.append(QChar(u));
    }
    return out;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const QByteArray& data)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype n = data.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        int extra = 0;
        unsigned int cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

QString normaliseLineEnds(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

} // namespace

QString decode(const QByteArray& data)
{
    QString s;
    if (data.startsWith("\xEF\xBB\xBF"))
        s = QString::fromUtf8(data.constData() + 3, data.size() - 3);
    else if (data.startsWith("\xFF\xFE"))
        s = decodeUtf16(data, false);
    else if (data.startsWith("\xFE\xFF"))
        s = decodeUtf16(data, true);
    else if (isValidUtf8(data))
        s = QString::fromUtf8(data);
    else
        s = codepage::decode(data, 1252);
    return normaliseLineEnds(sanitized(s));
}

QString sanitized(QString s)
{
    qsizetype out = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            s[out++] = c;
            s[out++] = s.at(++i);
        } else if (c.isSurrogate()) {
            s[out++] = QChar::ReplacementCharacter;
        } else if (c.unicode() == 0 || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1 ||
                   c.unicode() == QChar::ObjectReplacementCharacter ||
                   c.unicode() == QChar::ByteOrderMark) {
            // Dropped. A byte-order mark inside the text would turn into a
            // real one at the start of the next file we write.
        } else {
            s[out++] = c;
        }
    }
    s.truncate(out);
    return s;
}

QByteArray encode(const QString& text)
{
    return normaliseLineEnds(text).toUtf8();
}

namespace {

// Counts the lines of single-byte or UTF-8 bytes before they are decoded: a
// file of nothing but line ends is small and its text is not.
bool linesFit(const QByteArray& data, DocumentBudget& budget)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return true; // UTF-16: its bytes are no characters; counted once decoded
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data.at(i);
        if ((c == '\n' || (c == '\r' && (i + 1 == data.size() || data.at(i + 1) != '\n'))) &&
            !budget.addParagraph())
            return false;
    }
    return true;
}

} // namespace

bool read(const QByteArray& data, QTextDocument* document, QString* error)
{
    DocumentBudget lines;
    if (!linesFit(data, lines)) {
        if (error)
            *error = lines.error();
        return false;
    }
    const QString s = decode(data);
    // Counted before the document sees it: every line would become a
    // paragraph of its own, and a file of nothing but line ends is small.
    DocumentBudget budget;
    if (!budget.addText(s)) {
        if (error)
            *error = budget.error();
        return false;
    }
    document->setPlainText(s);
    return true;
}

QByteArray write(const QTextDocument& document)
{
    return encode(document.toPlainText());
}

} // namespace quillon::text
