#pragma once

#include "printing/printercatalog.h"

namespace quillon {

// The printer catalog of CUPS: its destinations (printers and their
// instances, "name/instance") and the user's default, which CUPS keeps in
// the user's lpoptions file (the system-wide one for root).
class CupsPrinters final : public PrinterCatalog {
public:
    QStringList printerNames() override;
    QString defaultPrinterName() override;
    bool setDefaultPrinterByName(const QString& name) override;

    // Why the last call failed, for the log.
    QString lastError() const { return m_lastError; }

private:
    QString m_lastError;
};

} // namespace quillon
