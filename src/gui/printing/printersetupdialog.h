#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quillon {

class PrinterCatalog;
class Prompter;

// "Setup Printer" (frmPrinterSetup): makes one of the installed printers the
// user's default printer, which every later printout uses. Modal; opened by
// the main window's "setup_printer" command.
class PrinterSetupDialog final : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(PrinterCatalog& printers, Prompter& prompter, QWidget* parent = nullptr);

    QListWidget* printerList() const { return m_list; }
    QLabel* printerLabel() const { return m_printer; }
    QPushButton* okButton() const { return m_ok; }

private:
    void setPrinter();
    void refreshDefault();

    PrinterCatalog& m_printers;
    Prompter& m_prompter;
    QListWidget* m_list = nullptr;
    QLabel* m_printer = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace quillon
