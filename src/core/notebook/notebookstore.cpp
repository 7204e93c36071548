#include "notebook/notebookstore.h"

#include "common/logging.h"
#include "search/searchindex.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "store/serverschema.h"

#include <QSqlRecord>

namespace quillon {

namespace {
// The first row in table order; the table is meant to hold only this one.
const QString kFirstRow = QStringLiteral("(SELECT min(rowid) FROM note1)");
} // namespace

NotebookStore::NotebookStore(const DataFolder& folder)
    : m_path(folder.note1Db()), m_server(folder.server())
{
}

NotebookStore::NotebookStore(QString path) : m_path(std::move(path)) {}

NotebookStore::~NotebookStore()
{
    close();
}

bool NotebookStore::open()
{
    return m_server.isValid() ? serverschema::open(m_db, m_server) : m_db.open(m_path);
}

bool NotebookStore::ready()
{
    if (m_db.isOpen() && !(m_db.isServer() && m_db.connectionLost()))
        return true;
    if (m_db.isOpen())
        qCInfo(lcDocuments) << "connecting to the catalogue server again";
    return open();
}

void NotebookStore::close()
{
    m_db.close();
}

std::optional<NoteContent> NotebookStore::read()
{
    if (!ready())
        return std::nullopt;
    QSqlQuery q =
        m_db.prepare(QStringLiteral("SELECT notiz1 FROM note1 WHERE rowid = ") + kFirstRow);
    if (!Database::executed(q)) {
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

bool NotebookStore::write(const QString& text, const std::optional<QString>& asRead)
{
    m_changedElsewhere = false;
    if (!ready())
        return false;
    if (!m_db.transaction())
        return false;
    // On a server one writer at a time, readers going on: the row (or its
    // recreation) is this write's from the comparison to the commit.
    if (m_db.isServer() &&
        !m_db.exec(QStringLiteral("LOCK TABLE note1 IN SHARE ROW EXCLUSIVE MODE"))) {
        m_db.rollback();
        return false;
    }
    QString failure;
    if (asRead) {
        QSqlQuery q =
            m_db.prepare(QStringLiteral("SELECT notiz1 FROM note1 WHERE rowid = ") + kFirstRow);
        if (!Database::executed(q)) {
            failure = q.lastError().text();
        } else if ((q.next() ? q.value(0).toString() : QString()) != *asRead) {
            m_changedElsewhere = true;
            m_db.rollback();
            qCInfo(lcDocuments) << "notebook not stored, changed elsewhere";
            m_db.setErrorText(QStringLiteral(
                "The notebook was changed in another room after it was shown here, so this "
                "change was not stored.\rWhat you typed is still there: store it again to put "
                "it in place of the other room's text."));
            return false;
        }
    }
    if (failure.isEmpty()) {
        QSqlQuery update =
            m_db.prepare(QStringLiteral("UPDATE note1 SET notiz1 = ? WHERE rowid = ") + kFirstRow);
        update.addBindValue(text);
        if (!Database::executed(update)) {
            failure = update.lastError().text();
        } else if (update.numRowsAffected() < 1) {
            qCWarning(lcDocuments) << "note1 had lost its row; recreating it";
            QSqlQuery insert =
                m_db.prepare(QStringLiteral("INSERT INTO note1 (notiz1) VALUES (?)"));
            insert.addBindValue(text);
            if (!Database::executed(insert))
                failure = insert.lastError().text();
        }
    }
    // The notebook is one row (or a few in a damaged file): indexed whole.
    if (failure.isEmpty() && !SearchIndex(m_db, SearchIndex::Part::Notebook).refreshTable())
        failure = m_db.lastError();
    if (failure.isEmpty() && !CatalogueEvents::announce(m_db, CatalogueEvents::kNotebook, {})) {
        m_db.rollback();
        return false;
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
