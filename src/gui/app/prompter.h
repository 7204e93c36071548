#pragma once

#include <memory>
#include <optional>
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>

class QWidget;

namespace quillon {

class PageSink;

// Page range and copies chosen in the standard print dialog.
struct PrintChoice {
    int fromPage = 1;
    int toPage = 1;
    int copies = 1;
    QString printerName; // the printer chosen; empty: the default printer
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
    // The platform's printer setup dialog; false = cancelled.
    virtual bool printerSetupDialog(QWidget* parent) = 0;

    // A job on the current default printer; null when there is none.
    virtual std::unique_ptr<PageSink> openDefaultPrinter() = 0;
    // A job on the printer chosen in printDialog (empty name: the default);
    // null when it is not there any more.
    virtual std::unique_ptr<PageSink> openPrinter(const QString& name) = 0;
    virtual QString defaultPrinterName() = 0;
    // The default printer's resolution in dots per inch; 0 when there is none.
    virtual int defaultPrinterResolution() { return 0; }

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
