#pragma once

#include "printing/pageselection.h"

#include <memory>
#include <optional>
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QPageSize>
#include <QString>

class QPrinter;
class QWidget;

namespace quillon {

class PageSink;

// Everything chosen in the standard print dialog: which pages, how many
// copies, and on what printer with which settings.
struct PrintChoice {
    int fromPage = 1;
    int toPage = 1;
    int copies = 1;
    QString printerName; // the printer chosen; empty: the default printer
    // A page list ("1,3"); when set it replaces fromPage..toPage.
    QPageRanges pages;
    PageSelection::PageSet pageSet = PageSelection::PageSet::All;
    bool collate = true;
    bool lastPageFirst = false;
    // Print into this PDF file instead of on a printer.
    QString outputFile;
    // The printer exactly as the dialog set it up (paper, orientation,
    // duplex, colour, the print system's own options); null when the choice
    // was not made in a real dialog: the job then goes to printerName or
    // outputFile with that printer's own paper.
    std::shared_ptr<QPrinter> printer;

    PageSelection selection() const
    {
        return {fromPage, toPage, pages, pageSet, copies, collate, lastPageFirst};
    }
};

// Everything that asks the user something or talks to a printer goes through
// here, so that tests can script every answer and record every printout.
class Prompter {
public:
    enum class Icon { None, Information, Question, Warning, Critical };

    virtual ~Prompter();

    // A message box; returns the button pressed (the default button when the
    // box is closed otherwise).
    virtual QMessageBox::StandardButton
    message(QWidget* parent, const QString& text, const QString& title, Icon icon,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;

    // File dialogs; an empty result means cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter, QString* selectedFilter = nullptr) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter, QString* selectedFilter = nullptr) = 0;

    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;

    // The standard print dialog over pages minPage..maxPage; nullopt = cancelled.
    virtual std::optional<PrintChoice> printDialog(QWidget* parent, int minPage, int maxPage) = 0;
    // The printer setup: a printer and its settings for later printouts,
    // starting from `current`; nullopt = cancelled.
    virtual std::optional<PrintChoice> printerSetupDialog(QWidget* parent,
                                                          const PrintChoice& current = {}) = 0;

    // A job on the current default printer, on its own paper; null when
    // there is none.
    virtual std::unique_ptr<PageSink> openDefaultPrinter() = 0;
    // A job as the choice says: its printer with its settings (the default
    // printer when it names none) or its PDF file; null when that printer
    // is not there.
    virtual std::unique_ptr<PageSink> openPrinter(const PrintChoice& choice) = 0;
    // A job on the named printer (empty: the default).
    std::unique_ptr<PageSink> openPrinter(const QString& name);
    // Empty when there is no default printer (none installed, or no print
    // service to ask).
    virtual QString defaultPrinterName() = 0;
    // The default printer's resolution in dots per inch; 0 when there is none.
    virtual int defaultPrinterResolution() { return 0; }
    // The paper of the default printer; A4 when no printer is known.
    virtual QPageSize defaultPaperSize() { return QPageSize(QPageSize::A4); }

    // Says that no printer can be reached, so nothing was printed.
    void noPrinter(QWidget* parent, const QString& title = {})
    {
        critical(parent, kNoPrinterText, title);
    }
    static inline const QString kNoPrinterText =
        QStringLiteral("No printer is available. Please install a printer or start the print "
                       "service, then try again.");

    // Shorthands for the usual boxes.
    void critical(QWidget* parent, const QString& text, const QString& title = {})
    {
        message(parent, text, title, Icon::Critical, QMessageBox::Ok);
    }
    void information(QWidget* parent, const QString& text, const QString& title = {})
    {
        message(parent, text, title, Icon::Information, QMessageBox::Ok);
    }
    bool askYesNo(QWidget* parent, const QString& text, const QString& title,
                  QMessageBox::StandardButton defaultButton = QMessageBox::Yes)
    {
        return message(parent, text, title, Icon::Question, QMessageBox::Yes | QMessageBox::No,
                       defaultButton) == QMessageBox::Yes;
    }
};

} // namespace quillon
