#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>

namespace quillon::crash {

// One operation of the child, as written to the side log. A line is either an
// intent ("I op fields...", written before the store is called) or its
// outcome: "A" acknowledged (the store returned success), "X" not applied.
// Fields are percent-encoded UTF-8, so titles with blanks, tabs or newlines
// survive the line format.
struct Op {
    enum class Kind { Create, Rename, Delete, Write };
    Kind kind = Kind::Create;
    QString title;
    QString newTitle;   // rename
    int slot = 0;       // write
    int firstTrack = 0; // write
    QStringList texts;  // write

    QByteArray intentLine() const;
    static bool parse(const QByteArray& line, Op* op);
};

// What the data folder must hold according to the acknowledged operations:
// the exact song titles and the last acknowledged text of every track cell
// the child wrote.
class Model final {
public:
    void addTitle(const QString& title) { m_titles.insert(title); }
    void apply(const Op& op);
    const QSet<QString>& titles() const { return m_titles; }
    // (title, slot, track) -> text
    const QHash<QString, QHash<int, QString>>& cells() const { return m_cells; }
    static int cellKey(int slot, int track) { return slot * 1000 + track; }

private:
    QSet<QString> m_titles;
    QHash<QString, QHash<int, QString>> m_cells;
};

} // namespace quillon::crash
