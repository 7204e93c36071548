#include "app/helplauncher.h"

#include "common/logging.h"
#include "store/songconstants.h"

#include <QFileInfo>
#include <QProcess>

namespace quillon {

namespace {
constexpr int kFileNotFound = 53;
constexpr int kFileAccess = 75;
} // namespace

QString startHelpProgram(const QString& program)
{
    const QFileInfo info(program);
    if (info.exists() && info.isFile() && QProcess::startDetached(program, {}, info.absolutePath()))
        return {};
    qCWarning(lcApp) << "help program could not be started:" << program;
    if (!info.exists())
        return numberText(kFileNotFound) + " -" + "File not found" + "\r\r" +
               "Error loading the Help File! File maybe deleted or corrupted.";
    return numberText(kFileAccess) + " -" + "Path/File access error";
}

} // namespace quillon
