#include "maintenance/cataloguecopy.h"

#include "common/logging.h"
#include "songs/songkeytable.h"
#include "songs/stylelist.h"
#include "store/database.h"
#include "store/datafolderlock.h"
#include "store/schema.h"
#include "store/serverschema.h"

#include <cstdio>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {
using Row = QVariantList;
using RowSink = std::function<bool(const Row&)>;

// Rows a multi-row INSERT on the server carries; well below the server's
// limit on bound values for the 98 columns of a track table.
constexpr int kServerBatch = 100;

QStringList ddlOf(const QString& table)
{
    if (table == "xtrax")
        return schema::songDatabaseDdl();
    if (table.startsWith("rd"))
        return schema::trackDatabaseDdl(table.mid(2).toInt());
    if (table == "Tape")
        return schema::tapeDatabaseDdl();
    if (table == "recdev")
        return schema::recdevDatabaseDdl();
    return schema::note1DatabaseDdl();
}

QString columnList(const QString& table)
{
    QStringList quoted;
    for (const QString& c : serverschema::columnsOf(table))
        quoted << schema::quoted(c);
    return quoted.join(", ");
}

class Summer {
public:
    explicit Summer(const QString& table) : m_table(table) {}
    void add(const Row& row)
    {
        ++m_rows;
        for (const QVariant& v : row) {
            // A null and an empty text must not sum alike.
            m_hash.addData(v.isNull() ? QByteArrayView("\x01") : QByteArrayView("\x02"));
            if (!v.isNull())
                m_hash.addData(v.toString().toUtf8());
            m_hash.addData(QByteArrayView("\x1f"));
        }
        m_hash.addData(QByteArrayView("\x1e"));
    }
    TableSum sum() const { return {m_table, m_rows, QString::fromLatin1(m_hash.result().toHex())}; }

private:
    QString m_table;
    qint64 m_rows = 0;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};

bool readQuery(QSqlQuery& q, int columns, const RowSink& sink, QString* error)
{
    q.setForwardOnly(true);
    if (!q.exec()) {
        *error = q.lastError().text();
        return false;
    }
    Row row;
    while (q.next()) {
        row.clear();
        for (int i = 0; i < columns; ++i)
            row << q.value(i);
        if (!sink(row))
            return false;
    }
    if (q.lastError().isValid()) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

bool readServerTable(Database& db, const QString& table, const RowSink& sink, QString* error)
{
    QSqlQuery q(db.handle());
    q.prepare(
        QString("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(table), schema::quoted(table)));
    if (!readQuery(q, int(serverschema::columnsOf(table).size()), sink, error)) {
        *error = QString("%1 on the server: %2").arg(table, *error);
        return false;
    }
    return true;
}

bool readFolderTable(const DataFolder& folder, const QString& table, const RowSink& sink,
                     QString* error)
{
    if (table == "stnum" || table == "styles") {
        const StyleList styles(folder.stnumDat(), folder.stylesDat());
        if (table == "stnum") {
            if (!styles.numberFileExists())
                return true;
            return sink({QString::number(styles.readNumber()), qint64(1)});
        }
        const QStringList entries = styles.readEntries();
        for (int i = 0; i < entries.size(); ++i)
            if (!sink({entries.at(i), qint64(i + 1)}))
                return false;
        return true;
    }
    Database db;
    if (!db.open(folder.fileOfTable(table))) {
        *error = db.lastError();
        return false;
    }
    QSqlQuery q = db.prepare(
        QString("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(table), schema::quoted(table)));
    if (!readQuery(q, int(serverschema::columnsOf(table).size()), sink, error)) {
        *error = describeStoreError(folder.fileOfTable(table), *error);
        return false;
    }
    return true;
}

// Reads every table of a catalogue, a server in one snapshot.
class Source {
public:
    explicit Source(const DataFolder& folder) : m_folder(folder) {}
    ~Source()
    {
        if (m_db.isOpen())
            m_db.rollback();
    }
    bool begin(QString* error)
    {
        if (!m_folder.onServer())
            return true;
        if (!serverschema::open(m_db, m_folder.server()) || !m_db.transaction() ||
            !m_db.exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY")) {
            *error = m_db.lastError();
            return false;
        }
        return true;
    }
    bool table(const QString& t, const RowSink& sink, QString* error)
    {
        return m_folder.onServer() ? readServerTable(m_db, t, sink, error)
                                   : readFolderTable(m_folder, t, sink, error);
    }

private:
    DataFolder m_folder;
    Database m_db;
};

bool lockFolder(DataFolderLock& lock, const QString& dir, QString* error)
{
    if (lock.tryLock())
        return true;
    *error = QString("Quillon has the data folder %1 open (process %2). Close it first.")
                 .arg(QDir::toNativeSeparators(dir))
                 .arg(lock.holderPid());
    return false;
}

QString mismatch(const QList<TableSum>& from, const QList<TableSum>& to)
{
    for (qsizetype i = 0; i < from.size(); ++i)
        if (i >= to.size() || !(from.at(i) == to.at(i)))
            return QString("The copy of table %1 does not match its source (%2 rows read, %3 "
                           "written); nothing was changed.")
                .arg(from.at(i).table)
                .arg(from.at(i).rows)
                .arg(i < to.size() ? to.at(i).rows : 0);
    return {};
}

bool anyRows(const QList<TableSum>& sums)
{
    for (const TableSum& s : sums)
        if (s.rows > 0)
            return true;
    return false;
}
} // namespace

CatalogueCopy::CatalogueCopy(const DataFolder& from, const DataFolder& to) : m_from(from), m_to(to)
{
}

QList<TableSum> CatalogueCopy::sums(const DataFolder& folder, QString* error)
{
    QString why;
    Source source(folder);
    QList<TableSum> result;
    if (!source.begin(&why)) {
        if (error)
            *error = why;
        return {};
    }
    for (const QString& t : serverschema::dataTables()) {
        Summer summer(t);
        if (!source.table(
                t, [&summer](const Row& r) { return summer.add(r), true; }, &why)) {
            if (error)
                *error = why;
            return {};
        }
        result << summer.sum();
    }
    return result;
}

bool CatalogueCopy::initServer(const ServerAddress& server, const QString& owner,
                               const QString& user, QString* error)
{
    Database db;
    if (!db.openServer(server)) {
        *error = db.lastError();
        return false;
    }
    if (serverschema::state(db) != serverschema::State::Empty) {
        *error =
            QString("The database %1 already holds a catalogue layout.").arg(server.describe());
        return false;
    }
    bool ok = db.transaction() && serverschema::create(db);
    const QStringList tables = serverschema::allTables();
    for (const QString& t : tables) {
        // Role names are identifiers, which cannot be bound: quoted instead.
        if (ok && !owner.isEmpty())
            ok = db.exec(QString("ALTER TABLE %1 OWNER TO %2")
                             .arg(schema::quoted(t), schema::quoted(owner)));
        if (ok && !user.isEmpty())
            ok = db.exec(QString("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO %2")
                             .arg(schema::quoted(t), schema::quoted(user)));
    }
    if (ok && !user.isEmpty())
        ok = db.exec(QString("GRANT USAGE ON ALL SEQUENCES IN SCHEMA %1 TO %2")
                         .arg("public", schema::quoted(user)));
    if (!ok || !db.commit()) {
        *error = db.lastError();
        db.rollback();
        return false;
    }
    return true;
}

bool CatalogueCopy::run()
{
    m_error.clear();
    m_sourceSums.clear();
    m_targetSums.clear();
    if (m_from.onServer() == m_to.onServer() &&
        (m_from.onServer() ? m_from.server() == m_to.server()
                           : QFileInfo(m_from.dir()) == QFileInfo(m_to.dir()))) {
        m_error = "The source and the target are the same catalogue.";
        return false;
    }
    DataFolderLock sourceLock(m_from.dir());
    if (!m_from.onServer() && !lockFolder(sourceLock, m_from.dir(), &m_error))
        return false;
    const bool ok = m_to.onServer() ? copyToServer() : copyToFolder();
    if (ok)
        qCInfo(lcStore) << "catalogue copied" << m_sourceSums.size() << "tables";
    return ok;
}

bool CatalogueCopy::copyToServer()
{
    Database db;
    if (!db.openServer(m_to.server())) {
        m_error = db.lastError();
        return false;
    }
    const serverschema::State state = serverschema::state(db);
    if (state == serverschema::State::Ready) {
        QString why;
        const QList<TableSum> present = sums(m_to, &why);
        if (!m_replace && (!why.isEmpty() || anyRows(present))) {
            m_error = QString("The catalogue on %1 is not empty. Give --replace to overwrite it.")
                          .arg(m_to.server().describe());
            return false;
        }
    } else if (state != serverschema::State::Empty && !m_replace) {
        m_error = QString("The database %1 holds tables of another layout. Give --replace to "
                          "overwrite them.")
                      .arg(m_to.server().describe());
        return false;
    }
    Source source(m_from);
    if (!source.begin(&m_error))
        return false;
    // One transaction: the layout, the rows, the keys and the check. Until
    // the commit no other client sees any of it, and a failure leaves the
    // server as it was.
    // A catalogue of this layout is emptied rather than dropped, so that its
    // owner and the grants to the program's login stay as they are.
    bool laidOut = db.transaction();
    if (laidOut && state == serverschema::State::Ready) {
        QStringList tables = serverschema::dataTables();
        tables << "songkey";
        for (const QString& t : std::as_const(tables))
            laidOut = laidOut && db.exec("DELETE FROM " + schema::quoted(t));
    } else if (laidOut) {
        laidOut = (state == serverschema::State::Empty || serverschema::drop(db)) &&
                  serverschema::create(db);
    }
    if (!laidOut) {
        m_error = db.lastError();
        db.rollback();
        return false;
    }
    auto failed = [&](const QString& why) {
        m_error = why.isEmpty() ? db.lastError() : why;
        db.rollback();
        return false;
    };
    for (const QString& t : serverschema::dataTables()) {
        const QStringList columns = serverschema::columnsOf(t);
        Summer summer(t);
        QVariantList batch;
        int rows = 0;
        auto flush = [&]() {
            if (rows == 0)
                return true;
            QString marks = '(' + QString("?, ").repeated(int(columns.size())).chopped(2) + ')';
            QStringList all(rows, marks);
            const bool done = db.exec(QString("INSERT INTO %1 (%2) VALUES %3")
                                          .arg(schema::quoted(t), columnList(t), all.join(", ")),
                                      batch);
            batch.clear();
            rows = 0;
            return done;
        };
        const bool read = source.table(
            t,
            [&](const Row& row) {
                summer.add(row);
                // The server keeps text; the sum is taken over the same text.
                for (qsizetype i = 0; i < row.size(); ++i) {
                    const QVariant& v = row.at(i);
                    if (i == row.size() - 1)
                        batch << v.toLongLong();
                    else
                        batch << (v.isNull() ? QVariant(QMetaType::fromType<QString>())
                                             : QVariant(v.toString()));
                }
                return ++rows < kServerBatch || flush();
            },
            &m_error);
        if (!read)
            return failed(m_error);
        if (!flush())
            return failed({});
        // New rows continue after the copied ones.
        if (!db.exec(
                "SELECT setval(pg_get_serial_sequence(?, 'rowid'), (SELECT coalesce(max(rowid), "
                "0) + 1 FROM " +
                    schema::quoted(t) + "), false)",
                {schema::quoted(t)}))
            return failed({});
        m_sourceSums << summer.sum();
        if (m_progress)
            m_progress(t, m_sourceSums.last().rows);
    }
    if (!SongKeyTable::rebuild(db))
        return failed({});
    if (!SongKeyTable::inStep(db))
        return failed("Some titles differ only in letter case or surrounding blanks, which a "
                      "shared catalogue cannot hold; run quillon-check --repair on the source "
                      "first.");
    for (const QString& t : serverschema::dataTables()) {
        Summer summer(t);
        if (!readServerTable(
                db, t, [&summer](const Row& r) { return summer.add(r), true; }, &m_error))
            return failed(m_error);
        m_targetSums << summer.sum();
    }
    if (const QString why = mismatch(m_sourceSums, m_targetSums); !why.isEmpty())
        return failed(why);
    if (!db.commit()) {
        m_error = db.lastError();
        return false;
    }
    return true;
}

bool CatalogueCopy::copyToFolder()
{
    DataFolderLock lock(m_to.dir());
    if (!QDir().mkpath(m_to.dir())) {
        m_error = describeStoreError(m_to.dir(), "unable to create the data folder");
        return false;
    }
    if (!lockFolder(lock, m_to.dir(), &m_error))
        return false;
    bool anyFile = false;
    for (const QString& f : m_to.databaseFiles())
        anyFile = anyFile || QFileInfo::exists(f);
    if (anyFile && !m_replace) {
        m_error = QString("The data folder %1 already holds a catalogue. Give --replace to "
                          "overwrite it.")
                      .arg(QDir::toNativeSeparators(m_to.dir()));
        return false;
    }
    Source source(m_from);
    if (!source.begin(&m_error))
        return false;
    // Built beside the files and moved in only when complete and checked.
    const QString buildDir = m_to.dir() + "/.quillon-migrate";
    QDir(buildDir).removeRecursively();
    if (!QDir().mkpath(buildDir)) {
        m_error = describeStoreError(buildDir, "unable to create the folder");
        return false;
    }
    const DataFolder build(buildDir, m_to.programDir());
    auto failed = [&](const QString& why) {
        m_error = why;
        QDir(buildDir).removeRecursively();
        return false;
    };
    StyleList styles(build.stnumDat(), build.stylesDat());
    for (const QString& t : serverschema::dataTables()) {
        Summer summer(t);
        if (t == "stnum" || t == "styles") {
            QStringList values;
            if (!source.table(
                    t,
                    [&](const Row& row) {
                        summer.add(row);
                        values << row.at(0).toString();
                        return true;
                    },
                    &m_error))
                return failed(m_error);
            const bool written =
                values.isEmpty() || (t == "stnum" ? styles.writeNumber(values.first().toInt())
                                                  : styles.writeEntries(values));
            if (!written)
                return failed(styles.lastError());
        } else {
            Database db;
            if (!db.create(build.fileOfTable(t)))
                return failed(db.lastError());
            for (const QString& statement : ddlOf(t))
                if (!db.exec(statement))
                    return failed(db.lastError());
            const QStringList columns = serverschema::columnsOf(t);
            QSqlQuery ins =
                db.prepare(QString("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(schema::quoted(t), columnList(t),
                                    QString("?, ").repeated(int(columns.size())).chopped(2)));
            if (!db.transaction())
                return failed(db.lastError());
            const bool read = source.table(
                t,
                [&](const Row& row) {
                    summer.add(row);
                    for (qsizetype i = 0; i < row.size(); ++i)
                        ins.bindValue(int(i), row.at(i));
                    if (ins.exec())
                        return true;
                    m_error = describeStoreError(build.fileOfTable(t), ins.lastError().text());
                    return false;
                },
                &m_error);
            if (!read) {
                db.rollback();
                return failed(m_error);
            }
            ins = QSqlQuery();
            if (t == "xtrax" && !SongKeyTable::rebuild(db)) {
                db.rollback();
                return failed(db.lastError());
            }
            if (!db.commit())
                return failed(db.lastError());
        }
        m_sourceSums << summer.sum();
        if (m_progress)
            m_progress(t, m_sourceSums.last().rows);
    }
    QString why;
    m_targetSums = sums(build, &why);
    if (!why.isEmpty())
        return failed(why);
    if (const QString bad = mismatch(m_sourceSums, m_targetSums); !bad.isEmpty())
        return failed(bad);
    // Each rename replaces one file at once; style files the source lacks go.
    QStringList names;
    for (const QString& f : build.databaseFiles())
        names << QFileInfo(f).fileName();
    names << QFileInfo(build.stnumDat()).fileName() << QFileInfo(build.stylesDat()).fileName();
    for (const QString& name : names) {
        const QString built = buildDir + '/' + name;
        const QString target = m_to.dir() + '/' + name;
        if (!QFileInfo::exists(built)) {
            QFile::remove(target);
            continue;
        }
        if (std::rename(QFile::encodeName(built).constData(),
                        QFile::encodeName(target).constData()) != 0)
            return failed(describeStoreError(target, "unable to move the copied file in"));
    }
    QDir(buildDir).removeRecursively();
    return true;
}

} // namespace quillon
