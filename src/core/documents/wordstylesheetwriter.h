#pragma once

#include <QByteArray>

namespace quillon::word {

// The smallest style sheet Word accepts: "Normal" with the given character
// properties, the empty slots of the fixed heading styles, and "Default
// Paragraph Font".
class WordStyleSheetWriter final {
public:
    static QByteArray write(const QByteArray& normalCharacterSprms);

private:
    static QByteArray style(int sti, int kind, int next, const QString& name,
                            const QList<QByteArray>& upxs);
};

} // namespace quillon::word
