#pragma once

#include "devices/deviceregister.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace quillon {

// The fixed-pitch font the device list is shown and printed in, so that its
// padded columns line up.
inline constexpr const char* kDeviceListFontFamily = "Courier New";

// The plain-text list of every device in slot order, as exported to
// recordingdevices.txt and handed to the print preview. Every line ends with
// a line feed. Columns: name cut or padded to 25, serial number to 20,
// purchase date padded to at least 10. The date and time in the header are
// written as mm-dd-yyyy and hh:mm:ss (24 hours) whatever the locale.
QString deviceListText(const QList<DeviceRecord>& devices, const QDateTime& when);

// Replaces the file at path with text (UTF-8) in one step: either the whole
// new list is there afterwards or the old file is untouched. On failure
// returns false and, when error is given, a sentence naming the file.
bool writeDeviceList(const QString& path, const QString& text, QString* error = nullptr);

} // namespace quillon
