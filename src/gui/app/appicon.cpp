#include "app/appicon.h"

// The resource lives in a static library: nothing would pull it into the
// program without this reference.
static void initAppIconResource()
{
    Q_INIT_RESOURCE(appicon);
}

namespace quillon {

QIcon appIcon()
{
    initAppIconResource();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace quillon
