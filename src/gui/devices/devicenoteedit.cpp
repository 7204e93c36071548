#include "devices/devicenoteedit.h"

#include "devices/devicefields.h"

#include <QTextCursor>

namespace quillon {

DeviceNoteEdit::DeviceNoteEdit(const QString& allowed, int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), m_allowed(allowed), m_maxLength(maxLength)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &DeviceNoteEdit::enforce);
}

void DeviceNoteEdit::enforce()
{
    if (m_enforcing)
        return;
    const QString current = toPlainText();
    int cursor = textCursor().position();
    QString kept = devicefields::filtered(current, m_allowed, true, &cursor);
    if (m_maxLength > 0 && kept.size() > m_maxLength) {
        // Drop what overflows at the cursor, where the new text went in.
        const int excess = int(kept.size()) - m_maxLength;
        const int from = qMax(0, cursor - excess);
        kept.remove(from, cursor - from);
        kept.truncate(m_maxLength);
        cursor = from;
    }
    if (kept == current)
        return;
    m_enforcing = true;
    setPlainText(kept);
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, cursor, int(kept.size())));
    setTextCursor(c);
    m_enforcing = false;
}

} // namespace quillon
