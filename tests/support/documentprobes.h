#pragma once

// What the document format tests read back from a QTextDocument, and their
// fixture files under tests/data/documents.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace quillon::test {

#ifdef QUILLON_TEST_DATA_DIR
// The bytes of a fixture; empty when it cannot be read.
inline QByteArray documentFixture(const QString& name)
{
    QFile file(QStringLiteral(QUILLON_TEST_DATA_DIR "/documents/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
#endif

// The format of the first character of the first occurrence of text.
inline QTextCharFormat formatAt(const QTextDocument& document, const QString& text)
{
    const QTextCursor found = document.find(text);
    if (found.isNull())
        return {};
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

inline QString familyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? format.font().family() : families.first();
}

inline Qt::Alignment alignmentOf(const QTextDocument& document, const QString& text)
{
    return document.find(text).block().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

} // namespace quillon::test
