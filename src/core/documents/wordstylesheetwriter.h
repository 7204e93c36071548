#pragma once

#include <QByteArray>

namespace quillon::word {

// The smallest style sheet Word accepts: "Normal" with the given character
// properties, the empty slots of the fixed heading styles, and "Default
// Paragraph Font".
class WordStyleSheetWriter final {
public:
    static QByteArray write(const QByteArray& normalCharacterSprms);

    // One style entry (STD): kind 1 paragraph, 2 character; upxs are its
    // property lists (a paragraph style's PAPX with its own index first,
    // then its CHPX). The style has no base style.
    static QByteArray style(int sti, int kind, int next, const QString& name,
                            const QList<QByteArray>& upxs);
};

} // namespace quillon::word
