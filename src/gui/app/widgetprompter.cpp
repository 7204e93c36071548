#include "app/widgetprompter.h"

#include "printing/printerpagesink.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

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

std::optional<PrintChoice> WidgetPrompter::printDialog(QWidget* parent, int minPage, int maxPage)
{
    QPrinter printer;
    printer.setFromTo(minPage, maxPage);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(minPage, maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrintChoice choice{minPage, maxPage, printer.copyCount(), printer.printerName()};
    if (printer.printRange() == QPrinter::PageRange) {
        choice.fromPage = printer.fromPage();
        choice.toPage = printer.toPage();
    }
    return choice;
}

bool WidgetPrompter::printerSetupDialog(QWidget* parent)
{
    QPrinter printer;
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<PageSink> WidgetPrompter::openDefaultPrinter()
{
    if (QPrinterInfo::defaultPrinter().isNull())
        return nullptr;
    return std::make_unique<PrinterPageSink>();
}

std::unique_ptr<PageSink> WidgetPrompter::openPrinter(const QString& name)
{
    if (name.isEmpty())
        return openDefaultPrinter();
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return nullptr;
    return std::make_unique<PrinterPageSink>(
        std::make_unique<QPrinter>(info, QPrinter::HighResolution));
}

QString WidgetPrompter::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

int WidgetPrompter::defaultPrinterResolution()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return 0;
    QPrinter printer(info, QPrinter::HighResolution);
    return printer.resolution();
}

} // namespace quillon
