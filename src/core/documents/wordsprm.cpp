#include "documents/wordsprm.h"

#include "documents/wordbytes.h"

namespace quillon::word {

namespace {

constexpr quint16 kSprmTDefTable = 0xD608;
constexpr quint16 kSprmPChgTabs = 0xC615;

// Operand length of the sprm at offset, or -1 when it cannot be known.
qint64 operandLength(const WordBytes& bytes, quint16 code, qint64 offset)
{
    switch ((code >> 13) & 7) {
    case 0:
    case 1:
        return 1;
    case 2:
    case 4:
    case 5:
        return 2;
    case 3:
        return 4;
    case 7:
        return 3;
    default:
        break;
    }
    if (code == kSprmTDefTable) {
        quint16 cb = 0;
        return bytes.u16(offset, &cb) ? qint64(cb) + 1 : -1;
    }
    quint8 cb = 0;
    if (!bytes.u8(offset, &cb))
        return -1;
    if (code == kSprmPChgTabs && cb == 255) {
        quint8 deleted = 0, added = 0;
        if (!bytes.u8(offset + 1, &deleted))
            return -1;
        const qint64 addOffset = offset + 2 + 4 * qint64(deleted);
        if (!bytes.u8(addOffset, &added))
            return -1;
        return addOffset + 1 + 3 * qint64(added) - offset;
    }
    return 1 + qint64(cb);
}

bool toggle(int operand, std::optional<bool> base)
{
    if (operand == 0x80)
        return base.value_or(false);
    if (operand == 0x81)
        return !base.value_or(false);
    return operand != 0;
}

const QColor kIcoColors[] = {QColor(),
                             QColor(0, 0, 0),
                             QColor(0, 0, 255),
                             QColor(0, 255, 255),
                             QColor(0, 255, 0),
                             QColor(255, 0, 255),
                             QColor(255, 0, 0),
                             QColor(255, 255, 0),
                             QColor(255, 255, 255),
                             QColor(0, 0, 128),
                             QColor(0, 128, 128),
                             QColor(0, 128, 0),
                             QColor(128, 0, 128),
                             QColor(128, 0, 0),
                             QColor(128, 128, 0),
                             QColor(128, 128, 128),
                             QColor(192, 192, 192)};

} // namespace

int WordSprm::wordOperand() const
{
    if (operand.size() < 2)
        return 0;
    return quint8(operand[0]) | (quint8(operand[1]) << 8);
}

quint32 WordSprm::longOperand() const
{
    if (operand.size() < 4)
        return 0;
    return quint32(quint8(operand[0])) | (quint32(quint8(operand[1])) << 8) |
           (quint32(quint8(operand[2])) << 16) | (quint32(quint8(operand[3])) << 24);
}

void forEachSprm(const QByteArray& grpprl, const std::function<void(const WordSprm&)>& visit)
{
    const WordBytes bytes(grpprl);
    qint64 offset = 0;
    quint16 code = 0;
    while (bytes.u16(offset, &code)) {
        const qint64 length = operandLength(bytes, code, offset + 2);
        if (length < 0 || !bytes.has(offset + 2, length))
            return;
        visit(WordSprm{code, bytes.mid(offset + 2, length)});
        offset += 2 + length;
    }
}

void WordCharProps::overrideWith(const WordCharProps& other)
{
    WordRunLayer::overrideWith(other);
    overrideIfGiven(halfPoints, other.halfPoints);
    overrideIfGiven(fontIndex, other.fontIndex);
}

void WordCharProps::apply(const QByteArray& grpprl, const WordCharProps& base)
{
    forEachSprm(grpprl, [&](const WordSprm& sprm) {
        switch (sprm.code) {
        case kSprmCFBold:
            bold = toggle(sprm.byteOperand(), base.bold);
            break;
        case kSprmCFItalic:
            italic = toggle(sprm.byteOperand(), base.italic);
            break;
        case kSprmCFStrike:
            strike = toggle(sprm.byteOperand(), base.strike);
            break;
        case kSprmCKul:
            underline = sprm.byteOperand() != 0;
            break;
        case kSprmCIss:
            vertical = sprm.byteOperand() == 1 ? 1 : sprm.byteOperand() == 2 ? -1 : 0;
            break;
        case kSprmCHps:
            // Word's own limit is 1638 points; anything above is damage.
            if (sprm.wordOperand() > 0 && sprm.wordOperand() <= 3276)
                halfPoints = sprm.wordOperand();
            break;
        case kSprmCRgFtc0:
            fontIndex = sprm.wordOperand();
            break;
        case kSprmCIco: {
            const int ico = sprm.byteOperand();
            if (ico < int(std::size(kIcoColors)))
                color = kIcoColors[ico];
            break;
        }
        case kSprmCCv: {
            const quint32 cv = sprm.longOperand();
            color = (cv >> 24) == 0xFF ? QColor()
                                       : QColor(cv & 0xFF, (cv >> 8) & 0xFF, (cv >> 16) & 0xFF);
            break;
        }
        default:
            break;
        }
    });
}

WordCharFormat WordCharProps::resolved(const QStringList& fonts) const
{
    WordCharFormat format;
    resolveInto(&format);
    format.pointSize = halfPoints.value_or(20) / 2.0;
    const int font = fontIndex.value_or(0);
    if (font >= 0 && font < fonts.size())
        format.font = fonts.at(font);
    return format;
}

std::optional<WordAlignment> paragraphAlignment(const QByteArray& grpprl)
{
    std::optional<WordAlignment> alignment;
    forEachSprm(grpprl, [&](const WordSprm& sprm) {
        if (sprm.code != kSprmPJc80 && sprm.code != kSprmPJc)
            return;
        switch (sprm.byteOperand()) {
        case 1:
            alignment = WordAlignment::Center;
            break;
        case 2:
            alignment = WordAlignment::Right;
            break;
        case 3:
        case 4:
            alignment = WordAlignment::Justify;
            break;
        default:
            alignment = WordAlignment::Left;
            break;
        }
    });
    return alignment;
}

} // namespace quillon::word
