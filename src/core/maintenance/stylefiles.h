#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// The two style files as they are on disk, read tolerantly: stnum.dat holds
// the count (" 12 " CR LF), styles.dat one quoted entry per line. Hand-edited
// or damaged files are read as far as they make sense, and what did not fit
// the format is counted rather than dropped.
struct StyleFiles {
    bool countFileExists = false;
    bool countReadable = false; // stnum.dat starts with a whole number
    int count = 0;              // the number stnum.dat claims
    bool listFileExists = false;
    QStringList entries;    // every entry of styles.dat, in order
    int malformedLines = 0; // lines with an unterminated quote or no quotes
    // Set when a file's entry is not a plain file ("a link", "a pipe", ...):
    // such an entry is neither read nor ever written.
    QString countFileNotPlain;
    QString listFileNotPlain;

    bool plainFiles() const { return countFileNotPlain.isEmpty() && listFileNotPlain.isEmpty(); }

    // True when the count and the entries agree, every line was well-formed
    // and both files are plain files.
    bool consistent() const;

    static StyleFiles read(const QString& stnumPath, const QString& stylesPath);
    // Writes both files in the program's own format (CR LF, quoted entries),
    // each replaced atomically (never through a link; an entry that is not a
    // plain file is refused). Returns a technical error text or empty.
    static QString write(const QString& stnumPath, const QString& stylesPath,
                         const QStringList& entries);
    // Writes stnum.dat alone (the list is fine, only the count is wrong).
    static QString writeCount(const QString& stnumPath, int count);
    // Splits the text of styles.dat into entries (exposed for tests).
    static QStringList parseEntries(const QByteArray& data, int* malformedLines);
};

} // namespace quillon
