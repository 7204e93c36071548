#pragma once

#include <QString>

namespace quillon {

// Starts the help program beside the executable without waiting for it.
// Returns the message text to show when it could not be started, or an
// empty text when it runs.
QString startHelpProgram(const QString& program);

} // namespace quillon
