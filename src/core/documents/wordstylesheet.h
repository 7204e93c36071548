#pragma once

#include "documents/wordsprm.h"

#include <QList>

namespace quillon::word {

// The style sheet (STSH) of a Word 97-2003 document, as far as character
// formatting and paragraph alignment go.
class WordStyleSheet final {
public:
    // An unreadable style sheet leaves the document's defaults in force.
    void read(const QByteArray& table, quint32 offset, quint32 length);

    int defaultFontIndex() const { return m_defaultFont; }
    // Character properties a style gives, through its chain of base styles,
    // on top of the document's default font (or without it: a character
    // style leaves the font of the paragraph style when it names none).
    WordCharProps charProps(int istd, bool withDefaultFont = true) const;
    std::optional<WordAlignment> alignment(int istd) const;

private:
    struct Style {
        bool present = false;
        int base = 0x0FFF;
        QByteArray chpx;
        QByteArray papx;
    };
    QList<const Style*> chain(int istd) const;
    void readStyle(const QByteArray& std, int baseSize);

    QList<Style> m_styles;
    int m_defaultFont = 0;
};

} // namespace quillon::word
