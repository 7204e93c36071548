#pragma once

#include "store/datafolder.h"

#include <QString>
#include <QStringList>

namespace quillon {

// The song styles kept in two text files of the data folder: stnum.dat holds
// the number of styles (" 12 " + CR LF), styles.dat one entry per line, each
// in double quotes and ended by CR LF. An entry is name + "*" + description.
//
// Both files are replaced whole through a temporary file that is renamed over
// the old one, so a crash while saving leaves the previous list, never an
// empty or half-written one. Reading is lenient: damaged lines are taken as
// they stand rather than dropped, so that saving again loses nothing.
//
// With the catalogue on a server the number is the one row of table stnum
// (no row stands for a missing stnum.dat) and the list the rows of table
// styles in rowid order; each write replaces its table's rows in one
// transaction. Entries are kept in the same form as in the file.
class StyleList final {
public:
    static constexpr int kMaxStyles = 250;
    // What the song details show of an entry.
    static constexpr int kDropDownWidth = 100;

    // The folder's list, or the server's when the catalogue is kept there.
    explicit StyleList(const DataFolder& folder);
    // The list in these two files, whatever the folder says.
    StyleList(const QString& stnumPath, const QString& stylesPath);

    QString stnumPath() const { return m_stnumPath; }
    QString stylesPath() const { return m_stylesPath; }
    // On a server: a number row is there, or the server cannot be read (a
    // failed read must not make a caller rewrite what it could not see).
    bool numberFileExists() const;
    // Always true on a server, whose layout is checked on connecting.
    bool listFileExists() const;

    // The number stored in stnum.dat, blanks ignored; 0 when the file is
    // missing or holds no number. ok is false in both of those cases.
    int readNumber(bool* ok = nullptr) const;
    // Every entry of styles.dat up to its end, in file order; empty when the
    // file is missing.
    QStringList readEntries() const;
    // The entries the song details offer: the list file is read to its end
    // when stnum.dat exists, whatever number it claims; nothing when
    // stnum.dat is missing.
    QStringList readForSongDetails() const;

    bool writeNumber(int number);
    bool writeEntries(const QStringList& entries);

    // The user-facing reason of the last failed write.
    QString lastError() const { return m_lastError; }

    // Entry text from its parts: both trimmed, joined by "*".
    static QString makeEntry(const QString& name, const QString& description);
    // The text before the first "*" (the whole entry when there is none).
    static QString nameOf(const QString& entry);
    // The text after the first "*" (empty when there is none).
    static QString descriptionOf(const QString& entry);

    // File formats, exposed for tests and tools.
    static QByteArray numberFileContent(int number);
    static QByteArray listFileContent(const QStringList& entries);
    static int parseNumber(const QByteArray& content, bool* ok = nullptr);
    // damagedLines, when given, counts the lines not in the program's own
    // form (text outside quotes, a quote left open); their text is kept.
    static QStringList parseEntries(const QByteArray& content, int* damagedLines = nullptr);

private:
    bool writeFile(const QString& path, const QByteArray& content);
    // The server's rows of a one-column query; false when it cannot be read.
    bool readRows(const QString& sql, QStringList* rows) const;
    // Replaces every row of the server's table by the values, in order.
    bool replaceRows(const QString& table, const QString& column, const QStringList& values);

    ServerAddress m_server; // valid when the list is on a server
    QString m_stnumPath;
    QString m_stylesPath;
    QString m_lastError;
};

} // namespace quillon
