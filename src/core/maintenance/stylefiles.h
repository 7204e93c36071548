#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// The two style files as the data check sees them: read and written in the
// one format the style list keeps (songs/stylelist.h), with what the program
// would not have written counted, and entries that are not plain files noted.
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
};

} // namespace quillon
