#include "documents/wordbytes.h"

namespace quillon::word {

bool WordBytes::u8(qint64 offset, quint8* value) const
{
    if (!has(offset, 1))
        return false;
    *value = static_cast<quint8>(m_data[offset]);
    return true;
}

bool WordBytes::u16(qint64 offset, quint16* value) const
{
    if (!has(offset, 2))
        return false;
    const auto* p = reinterpret_cast<const quint8*>(m_data.constData()) + offset;
    *value = static_cast<quint16>(p[0] | (p[1] << 8));
    return true;
}

bool WordBytes::u32(qint64 offset, quint32* value) const
{
    if (!has(offset, 4))
        return false;
    const auto* p = reinterpret_cast<const quint8*>(m_data.constData()) + offset;
    *value = quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
    return true;
}

QByteArray WordBytes::mid(qint64 offset, qint64 length) const
{
    if (!has(offset, length))
        return {};
    return m_data.mid(offset, length);
}

void putU8(QByteArray& out, quint8 value)
{
    out.append(static_cast<char>(value));
}

void putU16(QByteArray& out, quint16 value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void putU32(QByteArray& out, quint32 value)
{
    putU16(out, static_cast<quint16>(value & 0xFFFF));
    putU16(out, static_cast<quint16>(value >> 16));
}

void setU16(QByteArray& out, qsizetype offset, quint16 value)
{
    out[offset] = static_cast<char>(value & 0xFF);
    out[offset + 1] = static_cast<char>(value >> 8);
}

void setU32(QByteArray& out, qsizetype offset, quint32 value)
{
    setU16(out, offset, static_cast<quint16>(value & 0xFFFF));
    setU16(out, offset + 2, static_cast<quint16>(value >> 16));
}

} // namespace quillon::word
