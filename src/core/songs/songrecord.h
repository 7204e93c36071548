#pragma once

#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace quillon {

// One row of the song table. Fields are found without regard to letter case;
// a null field reads as the empty text.
class SongRecord final {
public:
    SongRecord() = default;
    explicit SongRecord(const QSqlRecord& record) : m_record(record) {}

    bool isValid() const { return !m_record.isEmpty(); }
    QVariant value(const QString& field) const { return m_record.value(field); }
    QString text(const QString& field) const;
    // The field's text, or the substitute when the field is empty.
    QString text(const QString& field, const QString& substitute) const;
    bool isNull(const QString& field) const;
    QString title() const { return text("songtitle"); }
    const QSqlRecord& record() const { return m_record; }

private:
    QSqlRecord m_record;
};

} // namespace quillon
