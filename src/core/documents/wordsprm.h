#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <optional>

namespace quillon::word {

// Sprm codes this system reads and writes.
enum WordSprmCode : quint16 {
    kSprmCFRMarkDel = 0x0800,
    kSprmCFRMarkIns = 0x0801,
    kSprmCFBold = 0x0835,
    kSprmCFItalic = 0x0836,
    kSprmCFStrike = 0x0837,
    kSprmCKul = 0x2A3E,
    kSprmCIco = 0x2A42,
    kSprmCIss = 0x2A48,
    kSprmCHps = 0x4A43,
    kSprmCIstd = 0x4A30,
    kSprmCRgFtc0 = 0x4A4F,
    kSprmCRgFtc1 = 0x4A50,
    kSprmCRgFtc2 = 0x4A51,
    kSprmCCv = 0x6870,
    kSprmCSymbol = 0x6A09,
    kSprmPJc80 = 0x2403,
    kSprmPJc = 0x2461,
};

struct WordSprm {
    quint16 code = 0;
    QByteArray operand;

    int byteOperand() const { return operand.isEmpty() ? 0 : quint8(operand[0]); }
    int wordOperand() const;
    quint32 longOperand() const;
};

// Calls visit for every complete sprm of a property list; a sprm cut off by
// the end of the list ends the walk.
void forEachSprm(const QByteArray& grpprl, const std::function<void(const WordSprm&)>& visit);

// Character properties in the layers of a Word document (style, then direct
// formatting); fields left open inherit from the layer below.
struct WordCharProps : WordRunLayer {
    std::optional<int> halfPoints;
    std::optional<int> fontIndex;

    void overrideWith(const WordCharProps& other);
    // Applies the character sprms of a grpprl; toggles that say "as the style"
    // or "opposite of the style" are taken against base.
    void apply(const QByteArray& grpprl, const WordCharProps& base);
    WordCharFormat resolved(const QStringList& fonts) const;
};

std::optional<WordAlignment> paragraphAlignment(const QByteArray& grpprl);

} // namespace quillon::word
