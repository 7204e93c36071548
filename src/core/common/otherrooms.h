#pragma once

#include <QString>

namespace quillon::otherrooms {

// What the user is told when a write is refused because another room (on a
// shared catalogue) changed what it was based on after it was shown here.
// `subject` names the thing as the sentence's start: "\"Reel 7\"".
QString changedText(const QString& subject);
// The same for a removal: the thing stays.
QString notRemovedText(const QString& subject);
// The same when the thing is no longer there under the name it was shown by.
QString goneText(const QString& subject);

} // namespace quillon::otherrooms
