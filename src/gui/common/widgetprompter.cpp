#include "common/widgetprompter.h"

#include "common/configuredprinter.h"
#include "common/logging.h"
#include "common/printerpagesink.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace quillon {

namespace {
QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QMessageBox::StandardButton WidgetPrompter::message(QWidget* parent, const QString& text,
                                                    const QString& title, Icon icon,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    // Message texts break lines with single CR characters.
    QString shown = text;
    shown.replace("\r\n", "\n").replace('\r', '\n');
    QMessageBox box(boxIcon(icon), title.isEmpty() ? QApplication::applicationDisplayName() : title,
                    shown, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    const int result = box.exec();
    return QMessageBox::StandardButton(result);
}

QString WidgetPrompter::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, QString* selectedFilter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, selectedFilter);
}

QString WidgetPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, QString* selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter);
}

std::optional<QFont> WidgetPrompter::chooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    return ok ? std::optional<QFont>(f) : std::nullopt;
}

std::optional<QColor> WidgetPrompter::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, parent);
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

namespace {
// The printer a dialog starts from: the default one on its own paper, or a
// file printer when there is no printer at all.
std::shared_ptr<QPrinter> dialogPrinter()
{
    std::shared_ptr<QPrinter> printer =
        ConfiguredPrinter::forPrinter(QPrinterInfo::defaultPrinter());
    return printer ? printer : std::make_shared<QPrinter>(QPrinter::HighResolution);
}
} // namespace

std::optional<PrintChoice> WidgetPrompter::printDialog(QWidget* parent, int minPage, int maxPage)
{
    std::shared_ptr<QPrinter> printer = dialogPrinter();
    printer->setFromTo(minPage, maxPage);
    QPrintDialog dialog(printer.get(), parent);
    dialog.setMinMax(minPage, maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ConfiguredPrinter::takeChoice(std::move(printer), minPage, maxPage);
}

std::optional<PrintChoice> WidgetPrompter::printerSetupDialog(QWidget* parent,
                                                              const PrintChoice& current)
{
    // The standard dialog without the page choices: a printer, its paper
    // and its settings, kept for the window's later printouts.
    std::shared_ptr<QPrinter> printer =
        current.printer ? current.printer : ConfiguredPrinter::forChoice(current);
    if (!printer)
        printer = dialogPrinter();
    QPrintDialog dialog(printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ConfiguredPrinter::takeChoice(std::move(printer), 1, 1);
}

std::unique_ptr<PageSink> WidgetPrompter::openDefaultPrinter()
{
    return openPrinter(PrintChoice{});
}

std::unique_ptr<PageSink> WidgetPrompter::openPrinter(const PrintChoice& choice)
{
    std::shared_ptr<QPrinter> printer = ConfiguredPrinter::forChoice(choice);
    if (!printer) {
        qCWarning(lcPrinting) << "no printer"
                              << (choice.printerName.isEmpty() ? QStringLiteral("(default)")
                                                               : choice.printerName);
        return nullptr;
    }
    return std::make_unique<PrinterPageSink>(std::move(printer));
}

QString WidgetPrompter::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

QPageSize WidgetPrompter::defaultPaperSize()
{
    const QPageSize paper = QPrinterInfo::defaultPrinter().defaultPageSize();
    return paper.isValid() ? paper : QPageSize(QPageSize::A4);
}

int WidgetPrompter::defaultPrinterResolution()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return 0;
    return ConfiguredPrinter::forPrinter(info)->resolution();
}

} // namespace quillon
