#include "songs/stylelist.h"

#include "common/logging.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "store/plainfile.h"
#include "store/schema.h"
#include "store/serverschema.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace quillon {

namespace {

// Files written before the program stored UTF-8 hold the Windows code page;
// the characters the style boxes admit all sit in its Latin-1 part.
QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

// Plain files only: a pipe in place of a style file must not block the window.
QByteArray readAll(const QString& path, bool* ok)
{
    QByteArray data;
    const bool read = plainfile::read(path, &data);
    if (ok)
        *ok = read;
    return data;
}

// An entry as the list file can carry it: the format has no escape for a
// double quote (one can only come from a damaged file, and an apostrophe
// keeps the line readable), and a line break would split the entry.
QString storable(QString entry)
{
    entry.replace('"', '\'');
    entry.remove('\r');
    entry.remove('\n');
    return entry;
}

// Rows a server statement inserts at once: few round trips for a long list,
// few values per statement.
constexpr int kRowsPerInsert = 200;

const QString kNumberSql = QStringLiteral("SELECT number FROM stnum ORDER BY rowid LIMIT 1");

bool isBlank(QChar c)
{
    return c == ' ' || c == '\t';
}

// One line of the list file: quoted items separated by commas. Whatever does
// not fit that form is kept as it stands, so a damaged line is still shown
// and written back rather than silently dropped. False for such a line.
bool parseLine(const QString& line, QStringList& out)
{
    const int n = int(line.size());
    int pos = 0;
    while (pos < n) {
        while (pos < n && isBlank(line.at(pos)))
            ++pos;
        if (pos >= n)
            break;
        if (line.at(pos) != '"') {
            const QString rest = line.mid(pos).trimmed();
            if (!rest.isEmpty())
                out << rest;
            return false;
        }
        const int close = int(line.indexOf('"', pos + 1));
        if (close < 0) { // unterminated: the rest of the line is the entry
            const QString item = line.mid(pos + 1);
            if (!item.trimmed().isEmpty())
                out << item;
            return false;
        }
        const QString item = line.mid(pos + 1, close - pos - 1);
        if (!item.isEmpty())
            out << item;
        pos = close + 1;
        while (pos < n && isBlank(line.at(pos)))
            ++pos;
        if (pos < n && line.at(pos) == ',')
            ++pos;
    }
    return true;
}

} // namespace

StyleList::StyleList(const DataFolder& folder) : StyleList(folder.stnumDat(), folder.stylesDat())
{
    m_server = folder.server();
}

StyleList::StyleList(const QString& stnumPath, const QString& stylesPath)
    : m_stnumPath(stnumPath), m_stylesPath(stylesPath)
{
}

bool StyleList::numberFileExists() const
{
    if (m_server.isValid()) {
        QStringList rows;
        return !readRows(kNumberSql, &rows) || !rows.isEmpty();
    }
    return QFileInfo::exists(m_stnumPath);
}

bool StyleList::listFileExists() const
{
    return m_server.isValid() || QFileInfo::exists(m_stylesPath);
}

bool StyleList::readRows(const QString& sql, QStringList* rows) const
{
    Database db;
    if (!serverschema::open(db, m_server)) {
        qCWarning(lcSongs) << "style list not read:" << db.lastError();
        return false;
    }
    QSqlQuery q = db.prepare(sql);
    q.setForwardOnly(true);
    if (Database::executed(q))
        while (q.next())
            *rows << q.value(0).toString();
    if (q.lastError().isValid()) {
        db.setError(q.lastError().text());
        qCWarning(lcSongs) << "style list not read:" << db.lastError();
        rows->clear();
        return false;
    }
    return true;
}

bool StyleList::replaceRows(const QString& table, const QString& column, const QStringList& values)
{
    Database db;
    const QString name = schema::quoted(table);
    // Locked first, so that two clients saving at once cannot leave both
    // lists behind; readers are not held up.
    bool ok = serverschema::open(db, m_server) && db.transaction() &&
              db.exec(QString("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(name)) &&
              db.exec(QString("DELETE FROM %1").arg(name));
    for (qsizetype at = 0; ok && at < values.size(); at += kRowsPerInsert) {
        const QStringList chunk = values.mid(at, kRowsPerInsert);
        QStringList marks(chunk.size(), QStringLiteral("(?)"));
        ok = db.exec(QString("INSERT INTO %1 (%2) VALUES %3")
                         .arg(name, schema::quoted(column), marks.join(", ")),
                     QVariantList(chunk.begin(), chunk.end()));
    }
    // Others showing the styles read them again once this commits.
    if (ok && CatalogueEvents::announce(db, CatalogueEvents::kStyles, table) && db.commit())
        return true;
    if (db.isOpen())
        db.rollback();
    m_lastError = db.lastError();
    qCWarning(lcSongs) << "cannot write the style" << table << m_lastError;
    return false;
}

int StyleList::parseNumber(const QByteArray& content, bool* ok)
{
    const QString text = decode(content);
    // The first line only; blanks around the number are part of the format.
    const QString line = text.section('\n', 0, 0).section('\r', 0, 0).trimmed();
    int digits = 0;
    while (digits < line.size() && line.at(digits).isDigit() && line.at(digits).unicode() < 128)
        ++digits;
    bool good = digits > 0 && digits <= 9;
    const int value = good ? line.left(digits).toInt(&good) : 0;
    if (ok)
        *ok = good;
    return good ? value : 0;
}

QStringList StyleList::parseEntries(const QByteArray& content, int* damagedLines)
{
    QStringList entries;
    QString text = decode(content);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    const QStringList lines = text.split('\n');
    int damaged = 0;
    for (const QString& line : lines)
        damaged += parseLine(line, entries) ? 0 : 1;
    if (damagedLines)
        *damagedLines = damaged;
    return entries;
}

int StyleList::readNumber(bool* ok) const
{
    if (m_server.isValid()) {
        QStringList rows;
        if (readRows(kNumberSql, &rows) && !rows.isEmpty())
            return parseNumber(rows.first().toUtf8(), ok);
        if (ok)
            *ok = false;
        return 0;
    }
    bool opened = false;
    const QByteArray content = readAll(m_stnumPath, &opened);
    if (!opened) {
        if (ok)
            *ok = false;
        return 0;
    }
    return parseNumber(content, ok);
}

QStringList StyleList::readEntries() const
{
    if (m_server.isValid()) {
        // Rows written by something else are taken in the form a save keeps.
        QStringList rows, entries;
        readRows(QStringLiteral("SELECT entry FROM styles ORDER BY rowid"), &rows);
        for (const QString& row : rows)
            if (const QString e = storable(row); !e.isEmpty())
                entries << e;
        return entries;
    }
    bool opened = false;
    const QByteArray content = readAll(m_stylesPath, &opened);
    return opened ? parseEntries(content) : QStringList();
}

QStringList StyleList::readForSongDetails() const
{
    if (!numberFileExists())
        return {};
    const int number = readNumber();
    QStringList entries = readEntries();
    // Reading stops at the end of the list file when the number claims more.
    if (entries.size() > number)
        entries = entries.mid(0, number);
    return entries;
}

QByteArray StyleList::numberFileContent(int number)
{
    return QByteArray(" ") + QByteArray::number(number) + " \r\n";
}

QByteArray StyleList::listFileContent(const QStringList& entries)
{
    QByteArray content;
    for (const QString& e : entries)
        content += '"' + storable(e).toUtf8() + "\"\r\n";
    return content;
}

bool StyleList::writeFile(const QString& path, const QByteArray& content)
{
    // A temporary file beside the target, renamed over it once on disk; a
    // link in place of the file is refused, never written through.
    const QString error = plainfile::write(path, content);
    if (!error.isEmpty()) {
        m_lastError = describeStoreError(path, error);
        qCWarning(lcSongs) << "cannot write" << path << error;
        return false;
    }
    return true;
}

bool StyleList::writeNumber(int number)
{
    if (m_server.isValid())
        return replaceRows(QStringLiteral("stnum"), QStringLiteral("number"),
                           {QString::number(number)});
    return writeFile(m_stnumPath, numberFileContent(number));
}

bool StyleList::writeEntries(const QStringList& entries)
{
    if (m_server.isValid()) {
        // An empty entry reads back from the file as none at all.
        QStringList rows;
        for (const QString& e : entries)
            if (const QString row = storable(e); !row.isEmpty())
                rows << row;
        return replaceRows(QStringLiteral("styles"), QStringLiteral("entry"), rows);
    }
    return writeFile(m_stylesPath, listFileContent(entries));
}

QString StyleList::makeEntry(const QString& name, const QString& description)
{
    return name.trimmed() + '*' + description.trimmed();
}

QString StyleList::nameOf(const QString& entry)
{
    const int star = int(entry.indexOf('*'));
    return star < 0 ? entry : entry.left(star);
}

QString StyleList::descriptionOf(const QString& entry)
{
    const int star = int(entry.indexOf('*'));
    return star < 0 ? QString() : entry.mid(star + 1);
}

} // namespace quillon
