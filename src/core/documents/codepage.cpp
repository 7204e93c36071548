#include "documents/codepage.h"

#include <QStringDecoder>

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

} // namespace

QString decode(const QByteArray& bytes, int codePage)
{
    if (codePage == 1252 || codePage <= 0)
        return decode1252(bytes);
    if (codePage == 65001)
        return QString::fromUtf8(bytes);
    if (codePage == 28591)
        return QString::fromLatin1(bytes);
    const QByteArray name = codePage == 10000 ? QByteArray("macintosh")
                            : codePage == 932 ? QByteArray("Shift_JIS")
                            : codePage == 936 ? QByteArray("GBK")
                            : codePage == 949 ? QByteArray("EUC-KR")
                            : codePage == 950 ? QByteArray("Big5")
                                              : "windows-" + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return decode1252(bytes);
    return decoder.decode(bytes);
}

int fromCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
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
        return 0;
    }
}

} // namespace quillon::codepage
