#include "devices/devicelist.h"

#include "common/logging.h"
#include "store/plainfile.h"

#include <QDir>

namespace quillon {

namespace {
const QString kRule = QString(70, QLatin1Char('_')) + QLatin1Char('\n');

QString fixedWidth(const QString& text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), true);
}
} // namespace

QString deviceListText(const QList<DeviceRecord>& devices, const QDateTime& when)
{
    // Built by hand rather than with QLocale so the header reads the same on
    // every system.
    QString text = QStringLiteral("List of recordingdevices  ") +
                   when.date().toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral("  ") +
                   when.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("\n\n");
    text += kRule;
    text += QStringLiteral("Type") + QString(21, QLatin1Char(' ')) + QStringLiteral("Serial Nr.") +
            QString(10, QLatin1Char(' ')) + QStringLiteral("Purchased\n");
    text += kRule;
    for (const DeviceRecord& d : devices) {
        text += fixedWidth(d.name, 25);
        text += fixedWidth(d.serialNr, 20);
        text += d.purchasedOn.leftJustified(10, QLatin1Char(' '));
        text += QLatin1Char('\n');
    }
    return text;
}

bool writeDeviceList(const QString& path, const QString& text, QString* error)
{
    // The list lives in the data folder: replaced as a plain file, never
    // written through a link planted in its place.
    const QString reason = plainfile::write(path, text.toUtf8());
    if (reason.isEmpty())
        return true;
    qCWarning(lcDevices) << "device list not written" << path << reason;
    if (error)
        *error = QStringLiteral("The device list could not be saved to \"%1\":\r%2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace quillon
