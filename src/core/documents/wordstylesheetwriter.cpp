#include "documents/wordstylesheetwriter.h"

#include "documents/wordbytes.h"

#include <QList>
#include <QString>

namespace quillon::word {

namespace {

constexpr quint16 kStshiSize = 18;
constexpr quint16 kStdBaseSize = 10;
constexpr quint16 kStyleNamesWritten = 1;
constexpr quint16 kStiMaxWhenSaved = 0x5B;
constexpr quint16 kIstdMaxFixed = 0x0F;
constexpr int kNoStyle = 0x0FFF;
constexpr int kStyleCount = 15; // the fixed slots Word reserves
constexpr int kDefaultParagraphFont = 10;
constexpr int kStiDefaultParagraphFont = 65;
constexpr int kParagraphStyle = 1;
constexpr int kCharacterStyle = 2;

void padToEven(QByteArray& out)
{
    if (out.size() % 2)
        putU8(out, 0);
}

} // namespace

QByteArray WordStyleSheetWriter::style(int sti, int kind, int next, const QString& name,
                                       const QList<QByteArray>& upxs)
{
    QByteArray std;
    putU16(std, quint16(sti));
    putU16(std, quint16(kind | (kNoStyle << 4)));
    putU16(std, quint16(upxs.size() | (next << 4)));
    putU16(std, 0); // end of the property lists, set below
    putU16(std, 0);
    putU16(std, quint16(name.size()));
    for (const QChar c : name)
        putU16(std, c.unicode());
    putU16(std, 0);
    for (const QByteArray& upx : upxs) {
        padToEven(std);
        putU16(std, quint16(upx.size()));
        std.append(upx);
    }
    padToEven(std);
    setU16(std, 6, quint16(std.size()));
    return std;
}

QByteArray WordStyleSheetWriter::write(const QByteArray& normalCharacterSprms)
{
    QByteArray out;
    putU16(out, kStshiSize);
    putU16(out, kStyleCount);
    putU16(out, kStdBaseSize);
    putU16(out, kStyleNamesWritten);
    putU16(out, kStiMaxWhenSaved);
    putU16(out, kIstdMaxFixed);
    putU16(out, 0);
    for (int i = 0; i < 3; ++i)
        putU16(out, 0); // default fonts: font 0 for every script

    QByteArray normalPapx;
    putU16(normalPapx, 0); // its own style index
    const QList<QByteArray> styles{
        style(0, kParagraphStyle, 0, QStringLiteral("Normal"), {normalPapx, normalCharacterSprms}),
    };
    for (int istd = 0; istd < kStyleCount; ++istd) {
        QByteArray std;
        if (istd == 0)
            std = styles.first();
        else if (istd == kDefaultParagraphFont)
            std = style(kStiDefaultParagraphFont, kCharacterStyle, kDefaultParagraphFont,
                        QStringLiteral("Default Paragraph Font"), {QByteArray()});
        putU16(out, quint16(std.size()));
        out.append(std);
    }
    return out;
}

} // namespace quillon::word
