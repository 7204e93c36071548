#pragma once

#include "store/database.h"
#include "store/datafolder.h"

#include <optional>
#include <QByteArray>
#include <QString>

namespace quillon {

// What the notebook's field holds: its text, or null for an empty notebook.
struct NoteContent {
    QString text;
    bool isNull = true;
};

// The general notebook: table note1 (in note1.mdb, or on the catalogue
// server), one row, its field notiz1. Only the first row is read and
// written; a row is added only when the table has lost its one row, so that
// a save never silently goes nowhere.
class NotebookStore final {
public:
    // The notebook of the folder's catalogue, wherever that is kept.
    explicit NotebookStore(const DataFolder& folder);
    // The notebook in this file, whatever the folder says.
    explicit NotebookStore(QString path);
    ~NotebookStore();
    NotebookStore(const NotebookStore&) = delete;
    NotebookStore& operator=(const NotebookStore&) = delete;

    bool open();
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    QString path() const { return m_path; }
    // A user-facing sentence naming the file (or the server) after a failure.
    QString lastError() const { return m_db.lastError(); }

    // The first row's notiz1; a table without rows reads as an empty (null)
    // notebook. nullopt when the file cannot be read.
    std::optional<NoteContent> read();
    // Stores the text in the first row's notiz1, recreating the row when
    // the table has none. With `asRead` (the text as the caller read it; a
    // null field and a missing row read as empty) the write is refused when
    // the stored text is no longer that (see changedElsewhere).
    bool write(const QString& text, const std::optional<QString>& asRead = std::nullopt);
    // The last write was refused because another room had changed the
    // notebook since it was read. Nothing was written; lastError() says so.
    bool changedElsewhere() const { return m_changedElsewhere; }

    // The documents are kept in text fields one character per byte: every
    // byte 0..255 becomes the character of the same code and back. A field
    // holding characters beyond that range (written by something else) is
    // taken as UTF-8 text so that nothing in it is lost.
    static QString bytesToFieldText(const QByteArray& bytes);
    static QByteArray fieldTextToBytes(const QString& text);

private:
    // Connects again after a server connection broke; what failed before
    // was reported and rolled back.
    bool ready();

    QString m_path;
    ServerAddress m_server; // valid when the notebook is on a server
    Database m_db;
    bool m_changedElsewhere = false;
};

} // namespace quillon
