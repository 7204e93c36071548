#pragma once

#include <QList>
#include <QString>

namespace quillon::searchtext {

// Text as the search index holds it: letters and digits only, case and
// accents folded away ("Café" -> "cafe", "Straße" -> "strasse"), every other
// character a blank, and each character of a script written without blanks
// between words (Chinese, Japanese, Thai, ...) a word of its own, so that a
// search finds a run of them anywhere. Words stay in their order, one blank
// between two.
QString normalize(const QString& text);

// The words of a text as normalize() has them, each with where it stands
// in the text (UTF-16 offsets), for showing the words that matched.
struct Word {
    QString folded;
    qsizetype start = 0;
    qsizetype end = 0;
};
QList<Word> words(const QString& text);

// True for characters written without blanks between words.
bool isUnspacedScript(char32_t c);

// The plain text of a stored lyrics or notebook value (the editor's HTML,
// or plain text as it stands), quickly and without loading any resource.
QString plainFromStored(const QString& stored);

} // namespace quillon::searchtext
