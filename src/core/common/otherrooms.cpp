#include "common/otherrooms.h"

namespace quillon::otherrooms {

QString changedText(const QString& subject)
{
    return QStringLiteral("%1 was changed in another room after it was shown here, so this "
                          "change was not stored.\rIts current state is shown now; what you "
                          "typed is still there to apply again.")
        .arg(subject);
}

QString notRemovedText(const QString& subject)
{
    return QStringLiteral("%1 was changed in another room after it was shown here, so it was "
                          "not removed.\rIts current state is shown now.")
        .arg(subject);
}

QString goneText(const QString& subject)
{
    return QStringLiteral("%1 was deleted or renamed in another room after it was shown here, "
                          "so this change was not stored.")
        .arg(subject);
}

} // namespace quillon::otherrooms
