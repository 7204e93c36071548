#pragma once

#include <QStringList>

class QTextDocument;

namespace quillon {

// What an import understood, one line per paragraph and one per run:
//   paragraph 1 align=center
//     run "Text" font="Arial" size=12 bold=yes italic=no underline=no color=#ff0000
// Used by quillon-doc dump and by the tests.
QStringList dumpDocument(const QTextDocument& document);

} // namespace quillon
