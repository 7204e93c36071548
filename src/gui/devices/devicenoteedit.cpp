#include "devices/devicenoteedit.h"

#include "common/characterfilter.h"

namespace quillon {

DeviceNoteEdit::DeviceNoteEdit(const QString& allowed, int maxLength, QWidget* parent)
    : QPlainTextEdit(parent),
      m_filter(new CharacterFilter(this, allowed, maxLength, CharacterFilter::LineBreaks::Kept))
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

void DeviceNoteEdit::setText(const QString& text)
{
    m_filter->setText(text);
}

} // namespace quillon
