#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillon::word {

// The main text of a Word 97-2003 document assembled through its piece
// table (CLX), with the file offset of every character so that formatting,
// which Word keys by file offset, can be found for it.
class WordPieceTable final {
public:
    bool read(const QByteArray& wordDocument, const QByteArray& table, quint32 clxOffset,
              quint32 clxLength, quint32 ccpText, QString* error);

    // Text assembled elsewhere (the 8-bit text of Word 6 and Word 95).
    void setText(const QString& text, const QList<quint32>& fileOffsets)
    {
        m_text = text;
        m_offsets = fileOffsets;
    }
    const QString& text() const { return m_text; }
    const QList<quint32>& fileOffsets() const { return m_offsets; }

private:
    QString m_text;
    QList<quint32> m_offsets;
};

} // namespace quillon::word
