#pragma once

#include "store/datafolder.h"

#include <QDate>
#include <QSet>
#include <QStringList>

namespace quillon {

struct RepairResult {
    QStringList actions;  // what was done, one line each
    QStringList failures; // what could not be done, phrased for the user
    bool ok() const { return failures.isEmpty(); }
};

// Repairs what the integrity check finds, without ever deleting text:
// missing files and empty files are laid out again, a song without a track
// row gets an empty one, track rows that lost their song are kept under a
// new song "Recovered <old title>", a second song with a title already in use
// gets a numbered title (the title keys follow), columns missing from a
// table are added empty, and the style count is rewritten from the style
// list. Damaged files, and entries that are not plain files, are left
// alone: they are restored from a backup.
// On a server only the rows are repaired (missing track rows, rows without
// their song, titles used twice or empty, and the title keys), in one
// transaction that other clients wait for before they write; its tables
// and their columns are the layout's owner's to restore.
// The caller makes a backup first (Backup::beforeRepair).
class IntegrityRepair final {
public:
    explicit IntegrityRepair(const DataFolder& folder, const QDate& today = QDate::currentDate())
        : m_folder(folder), m_today(today)
    {
    }

    RepairResult run();

    // Longest title a window can show and edit.
    static constexpr int kMaxTitle = 50;
    // base, or base with " (2)", " (3)" ... whose key is not in used; at most
    // kMaxTitle characters (the base is shortened to make room for the number).
    static QString uniqueTitle(const QString& base, const QSet<QString>& usedKeys);

private:
    void layOutEmptyFiles(RepairResult& result);
    void repairSearchIndex(RepairResult& result);
    void repairColumns(RepairResult& result);
    void repairRows(RepairResult& result);
    void repairDevices(RepairResult& result);
    void repairNotebook(RepairResult& result);
    void repairStyles(RepairResult& result);

    DataFolder m_folder;
    QDate m_today;
};

} // namespace quillon
