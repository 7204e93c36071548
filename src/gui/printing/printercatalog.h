#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// The installed printers as the operating system knows them, and the
// user's default among them. Behind an interface so the printer choice can
// be exercised without a print system.
class PrinterCatalog {
public:
    virtual ~PrinterCatalog();

    // Device names of every installed printer, in the system's order.
    virtual QStringList printerNames() = 0;
    // Device name of the current default printer; empty when there is none.
    virtual QString defaultPrinterName() = 0;
    // Makes the named printer the user's default; false when that failed.
    virtual bool setDefaultPrinterByName(const QString& name) = 0;
};

} // namespace quillon
