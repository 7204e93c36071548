#pragma once

#include <QByteArray>

namespace quillon::rtf {

// Destinations whose content is never text of the document (document
// information, pictures, style sheets, headers, field instructions, ...).
bool isSkippedDestination(const QByteArray& word);

// The character a control symbol or character word stands for ("~" is a
// no-break space, "tab" a tab, "emdash" ...), or 0 when it is none.
char16_t symbolCharacter(const QByteArray& word);

} // namespace quillon::rtf
