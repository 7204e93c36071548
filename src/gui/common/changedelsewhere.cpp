#include "common/changedelsewhere.h"

#include "common/otherrooms.h"

#include "songs/songstore.h"

#include <QLineEdit>

namespace quillon::changedelsewhere {

QString refusalText(SongStore& songs, const QString& title, bool* gone)
{
    const QString stored = songs.lastError();
    const bool there = songs.song(title).has_value();
    if (gone)
        *gone = !there;
    return there ? stored : goneText(title);
}

QString goneText(const QString& title)
{
    return otherrooms::goneText('"' + title + '"');
}

void takeCurrent(const QList<QLineEdit*>& boxes, QStringList& shown, const QStringList& current)
{
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes.at(i)->text() == shown.value(i))
            setKeepingCursor(boxes.at(i), current.value(i));
    shown = current;
}

void setKeepingCursor(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        return;
    const int cursor = box->cursorPosition();
    box->setText(text);
    box->setCursorPosition(qMin(cursor, int(text.size())));
}

} // namespace quillon::changedelsewhere
