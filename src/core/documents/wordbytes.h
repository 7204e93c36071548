#pragma once

#include <QByteArray>

#include <cstdint>

namespace quillon::word {

// Bounds-checked little-endian access to a byte buffer. Every Word structure
// comes from an untrusted file, so a read past the end yields false instead of
// touching memory that is not ours.
class WordBytes final {
public:
    explicit WordBytes(const QByteArray& data) : m_data(data) {}

    qsizetype size() const { return m_data.size(); }
    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_data.size() &&
               length <= m_data.size() - offset;
    }
    bool u8(qint64 offset, quint8* value) const;
    bool u16(qint64 offset, quint16* value) const;
    bool u32(qint64 offset, quint32* value) const;
    QByteArray mid(qint64 offset, qint64 length) const;
    const QByteArray& data() const { return m_data; }

private:
    const QByteArray& m_data;
};

// Appends little-endian values when building Word structures.
void putU8(QByteArray& out, quint8 value);
void putU16(QByteArray& out, quint16 value);
void putU32(QByteArray& out, quint32 value);
void setU16(QByteArray& out, qsizetype offset, quint16 value);
void setU32(QByteArray& out, qsizetype offset, quint32 value);

} // namespace quillon::word
