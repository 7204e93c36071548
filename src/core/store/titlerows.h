#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace quillon {

// One row's identity: its rowid and the title it carries (null stays null).
struct TitleRow {
    qint64 rowid = 0;
    QVariant title;
    QString text() const { return title.toString(); }
    // Rows are tied by the exact stored title; a null title ties to nothing.
    QString exactKey() const { return title.isNull() ? QStringLiteral("\x01null") : "=" + text(); }
};

// The titles of the song table and of the ten track tables, in rowid order:
// all a row-level check or repair needs, without reading any track text.
struct TitleSnapshot {
    QList<TitleRow> songs;
    QList<TitleRow> tracks[11]; // index 1..10
    bool haveSlot[11] = {};

    // Reads one table through db; qualified is e.g. "xtrax" or "t3.rd3".
    static bool readTable(QSqlDatabase db, const QString& qualified, QList<TitleRow>* rows,
                          QString* error);
    // Rows grouped by exact title, each group in rowid order.
    static QHash<QString, QList<qint64>> byExactTitle(const QList<TitleRow>& rows);
};

} // namespace quillon
