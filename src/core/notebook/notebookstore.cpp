#include "notebook/notebookstore.h"

#include "common/logging.h"

#include <QSqlRecord>

namespace quillon {

namespace {
// The first row in table order; the table is meant to hold only this one.
const QString kFirstRow = QStringLiteral("(SELECT min(rowid) FROM note1)");
} // namespace

NotebookStore::NotebookStore(QString path) : m_path(std::move(path)) {}

NotebookStore::~NotebookStore()
{
    close();
}

bool NotebookStore::open()
{
    return m_db.open(m_path);
}

void NotebookStore::close()
{
    m_db.close();
}

std::optional<NoteContent> NotebookStore::read()
{
    if (!m_db.isOpen() && !open())
        return std::nullopt;
    QSqlQuery q =
        m_db.prepare(QStringLiteral("SELECT notiz1 FROM note1 WHERE rowid = ") + kFirstRow);
    if (!q.exec()) {
        m_db.setError(q.lastError().text());
        return std::nullopt;
    }
    NoteContent content;
    if (!q.next()) {
        qCWarning(lcDocuments) << "note1 has no row; the notebook opens empty";
        return content;
    }
    const QVariant value = q.value(0);
    content.isNull = value.isNull();
    if (!content.isNull)
        content.text = value.toString();
    return content;
}

bool NotebookStore::write(const QString& text)
{
    if (!m_db.isOpen() && !open())
        return false;
    if (!m_db.transaction())
        return false;
    QSqlQuery update =
        m_db.prepare(QStringLiteral("UPDATE note1 SET notiz1 = ? WHERE rowid = ") + kFirstRow);
    update.addBindValue(text);
    QString failure;
    if (!update.exec()) {
        failure = update.lastError().text();
    } else if (update.numRowsAffected() < 1) {
        qCWarning(lcDocuments) << "note1 had lost its row; recreating it";
        QSqlQuery insert = m_db.prepare(QStringLiteral("INSERT INTO note1 (notiz1) VALUES (?)"));
        insert.addBindValue(text);
        if (!insert.exec())
            failure = insert.lastError().text();
    }
    if (!failure.isEmpty()) {
        m_db.rollback();
        m_db.setError(failure);
        return false;
    }
    return m_db.commit();
}

QString NotebookStore::bytesToFieldText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray NotebookStore::fieldTextToBytes(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            return text.toUtf8();
    return text.toLatin1();
}

} // namespace quillon
