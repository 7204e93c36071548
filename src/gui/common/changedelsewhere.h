#pragma once

#include <QList>
#include <QStringList>

class QLineEdit;

namespace quillon {

class SongStore;

// What the windows do alike when a write is refused because another room
// changed the song after it was shown: the boxes the user left as shown
// take the stored values, what was typed stays for the next store, and the
// stored values become the ones the next store is based on.
namespace changedelsewhere {

// Why the last write of `title` was refused, for the user: the store's own
// text while the song is still there under that title, else goneText().
// Call it right after the refused write, before anything else asks the
// store; *gone tells which it was.
QString refusalText(SongStore& songs, const QString& title, bool* gone = nullptr);
// Another room deleted or renamed the song after it was shown here.
QString goneText(const QString& title);

// Boxes whose text is still what `shown` says take `current`; typed text
// stays. `shown` becomes `current`.
void takeCurrent(const QList<QLineEdit*>& boxes, QStringList& shown, const QStringList& current);

// Sets a box's text, leaving its cursor where it was (a refresh must not
// move the cursor of the box the user is in); nothing happens when the text
// is already the same.
void setKeepingCursor(QLineEdit* box, const QString& text);

} // namespace changedelsewhere

} // namespace quillon
