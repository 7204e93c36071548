#include "printing/printersetupdialog.h"

#include "common/logging.h"
#include "common/prompter.h"
#include "printing/printercatalog.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace quillon {

PrinterSetupDialog::PrinterSetupDialog(PrinterCatalog& printers, Prompter& prompter,
                                       QWidget* parent)
    : QDialog(parent), m_printers(printers), m_prompter(prompter)
{
    setObjectName("frmPrinterSetup");
    setWindowTitle("Setup Printer");
    setModal(true);

    m_list = new QListWidget(this);
    m_list->setObjectName("lstPrinters");
    auto* caption = new QLabel("Current Printer:", this);
    caption->setObjectName("Label1");
    m_printer = new QLabel("No printer chosen or available", this);
    m_printer->setObjectName("lblprinter");
    m_ok = new QPushButton("Set printer", this);
    m_ok->setObjectName("cmdOK");
    m_ok->setDefault(true);
    m_cancel = new QPushButton("&Cancel", this);
    m_cancel->setObjectName("cmdCancel");

    auto* labels = new QHBoxLayout;
    labels->addWidget(caption);
    labels->addWidget(m_printer, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(labels);
    layout->addLayout(buttons);

    // Asking the print system may take a moment (a remote server).
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList names = m_printers.printerNames();
    const QString current = m_printers.defaultPrinterName();
    QGuiApplication::restoreOverrideCursor();

    m_list->addItems(names);
    const int at = names.indexOf(current);
    if (at >= 0)
        m_list->setCurrentRow(at);
    else
        m_list->setCurrentRow(-1);
    m_ok->setEnabled(!names.isEmpty());
    if (!current.isEmpty())
        m_printer->setText(current);

    connect(m_list, &QListWidget::itemClicked, this, [this] { m_ok->setEnabled(true); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { setPrinter(); });
    connect(m_ok, &QPushButton::clicked, this, &PrinterSetupDialog::setPrinter);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(360, 260);
}

void PrinterSetupDialog::refreshDefault()
{
    const QString current = m_printers.defaultPrinterName();
    m_printer->setText(current.isEmpty() ? QStringLiteral("No printer chosen or available")
                                         : current);
}

void PrinterSetupDialog::setPrinter()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        // Nothing chosen: there is nothing to set, and no failure to report.
        reject();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_printers.setDefaultPrinterByName(item->text());
    QGuiApplication::restoreOverrideCursor();
    if (ok) {
        refreshDefault();
        accept();
        return;
    }
    qCWarning(lcPrinting) << "setting the default printer to" << item->text() << "failed";
    m_prompter.message(this, "An error occured!", QString(), Prompter::Icon::None);
    reject();
}

} // namespace quillon
