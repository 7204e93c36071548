#include "documents/codepage.h"

#include "common/logging.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace quillon::codepage {

namespace {

// 0x80..0x9F of Windows-1252; the rest is Latin-1. Undefined bytes map to
// the C1 controls of the same value, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decode1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b)));
    }
    return out;
}

// A code page's name for Qt's converters and for the C library's iconv
// (which knows the Mac and Far East pages when Qt is built without ICU).
struct Names {
    int codePage;
    const char* qt;
    const char* iconv;
};

constexpr Names kNames[] = {
    {437, "IBM437", "CP437"},
    {850, "IBM850", "CP850"},
    {874, "windows-874", "CP874"},
    {932, "Shift_JIS", "CP932"},
    {936, "GBK", "GBK"},
    {949, "windows-949", "CP949"},
    {950, "Big5", "BIG5"},
    {1361, "johab", "JOHAB"},
    {10000, "macintosh", "MACINTOSH"},
    // The Mac's Far East pages are the same encodings as the Windows ones
    // for all the characters text uses.
    {10001, "Shift_JIS", "SHIFT_JIS"},
    {10002, "Big5", "BIG5"},
    {10003, "EUC-KR", "EUC-KR"},
    {10004, "x-mac-arabic", nullptr},
    {10005, "x-mac-hebrew", nullptr},
    {10006, "x-mac-greek", nullptr},
    {10007, "x-mac-cyrillic", "MAC-CYRILLIC"},
    {10008, "GB2312", "GB2312"},
    {10029, "x-mac-centraleurope", "MAC-CENTRALEUROPE"},
    {10081, "x-mac-turkish", nullptr},
};

QString decodeWithIconv(const QByteArray& bytes, const char* name, bool* ok)
{
    *ok = false;
    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == iconv_t(-1))
        return {};
    QByteArray out;
    out.resize(bytes.size() * 4 + 4);
    QByteArray in = bytes;
    char* inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A byte the page does not define: the replacement character, and on.
        if (outLeft < 2)
            break;
        *outPtr++ = char(0xFD);
        *outPtr++ = char(0xFF);
        outLeft -= 2;
        ++inPtr;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    *ok = true;
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
}

} // namespace

QString decode(const QByteArray& bytes, int codePage)
{
    if (codePage == 1252 || codePage <= 0)
        return decode1252(bytes);
    if (codePage == 65001)
        return QString::fromUtf8(bytes);
    if (codePage == 28591)
        return QString::fromLatin1(bytes);
    QByteArray qtName = "windows-" + QByteArray::number(codePage);
    QByteArray iconvName = "CP" + QByteArray::number(codePage);
    for (const Names& n : kNames) {
        if (n.codePage == codePage) {
            qtName = n.qt;
            iconvName = n.iconv ? QByteArray(n.iconv) : QByteArray();
        }
    }
    QStringDecoder decoder(qtName.constData());
    if (decoder.isValid())
        return decoder.decode(bytes);
    if (!iconvName.isEmpty()) {
        bool ok = false;
        const QString text = decodeWithIconv(bytes, iconvName.constData(), &ok);
        if (ok)
            return text;
    }
    qCWarning(lcDocuments) << "no converter for code page" << codePage
                           << "- its text is read as Windows-1252";
    return decode1252(bytes);
}

int fromCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 83:
        return 10005;
    case 84:
        return 10004;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 88:
        return 10029;
    case 89:
        return 10007;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        // 0 (ANSI) and 1 (default) name the document's own code page.
        return 0;
    }
}

} // namespace quillon::codepage
