#pragma once

#include <QString>

namespace quillon::songfields {

// The characters the song boxes let through, matched without regard to
// letter case (the sets are written partly in capitals, partly in small
// letters). One place for them, so that a box shows the same set in every
// window that edits the same value.
QString titleCharacters();    // a new song's title
QString textCharacters();     // names and free text of the song and session details
QString composerCharacters(); // a new song's composer
QString noteCharacters();     // the song note
QString styleCharacters();    // a style's name and description

} // namespace quillon::songfields
