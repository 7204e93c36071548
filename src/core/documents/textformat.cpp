#include "documents/textformat.h"

#include "documents/codepage.h"

#include <QStringDecoder>
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
    // Unpaired surrogates would be invalid text; replace them.
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (c.isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            out[i] = QChar::ReplacementCharacter;
        }
    }
    return out;
}

bool isValidUtf8(const QByteArray& data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(data);
    return !decoder.hasError();
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
    // A NUL would end the text in some consumers; it never belongs in lyrics.
    s.remove(QChar(0));
    return normaliseLineEnds(s);
}

QByteArray encode(const QString& text)
{
    return normaliseLineEnds(text).toUtf8();
}

void read(const QByteArray& data, QTextDocument* document)
{
    document->setPlainText(decode(data));
}

QByteArray write(const QTextDocument& document)
{
    return encode(document.toPlainText());
}

} // namespace quillon::text
