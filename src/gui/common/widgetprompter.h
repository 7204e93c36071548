#pragma once

#include "common/prompter.h"

namespace quillon {

// The real dialogs and the real default printer.
class WidgetPrompter final : public Prompter {
public:
    QMessageBox::StandardButton message(QWidget* parent, const QString& text, const QString& title,
                                        Icon icon, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter, QString* selectedFilter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter, QString* selectedFilter) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    std::optional<PrintChoice> printDialog(QWidget* parent, int minPage, int maxPage) override;
    std::optional<PrintChoice> printerSetupDialog(QWidget* parent,
                                                  const PrintChoice& current) override;
    std::unique_ptr<PageSink> openDefaultPrinter() override;
    using Prompter::openPrinter;
    std::unique_ptr<PageSink> openPrinter(const PrintChoice& choice) override;
    QString defaultPrinterName() override;
    int defaultPrinterResolution() override;
    QPageSize defaultPaperSize() override;
};

} // namespace quillon
