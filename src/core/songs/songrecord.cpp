#include "songs/songrecord.h"

namespace quillon {

QString SongRecord::text(const QString& field) const
{
    const int i = m_record.indexOf(field);
    if (i < 0 || m_record.isNull(i))
        return {};
    return m_record.value(i).toString();
}

QString SongRecord::text(const QString& field, const QString& substitute) const
{
    const QString t = text(field);
    return t.isEmpty() ? substitute : t;
}

bool SongRecord::isNull(const QString& field) const
{
    const int i = m_record.indexOf(field);
    return i < 0 || m_record.isNull(i);
}

} // namespace quillon
