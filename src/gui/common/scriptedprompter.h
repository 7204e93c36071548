#pragma once

#include "common/prompter.h"
#include "printing/recordingpagesink.h"

#include <functional>
#include <QList>
#include <QQueue>

namespace quillon {

// A prompter for tests: records every question and answers from a script.
// Unscripted message boxes answer with their default button (or the first of
// their buttons); unscripted file dialogs are cancelled. Every printer job is
// recorded, on the scripted paper; a choice to print into a PDF file (or one
// carrying a real printer) really prints, through the program's own printer
// sink.
class ScriptedPrompter final : public Prompter {
public:
    struct Asked {
        QString text;
        QString title;
        Icon icon = Icon::None;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

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
    // Records on a printer of that name (the default's for an empty name).
    using Prompter::openPrinter;
    std::unique_ptr<PageSink> openPrinter(const PrintChoice& choice) override;
    QString defaultPrinterName() override { return m_hasPrinter ? m_printerName : QString(); }
    int defaultPrinterResolution() override { return m_hasPrinter ? m_printerResolution : 0; }
    QPageSize defaultPaperSize() override
    {
        return m_hasPrinter ? m_paper : QPageSize(QPageSize::A4);
    }

    // Script.
    void answer(QMessageBox::StandardButton button) { m_answers.enqueue(button); }
    void answerFile(const QString& path) { m_files.enqueue(path); }
    void answerFont(std::optional<QFont> font) { m_fonts.enqueue(font); }
    void answerColor(std::optional<QColor> color) { m_colors.enqueue(color); }
    void answerPrint(std::optional<PrintChoice> choice) { m_prints.enqueue(choice); }
    void answerPrinterSetup(std::optional<PrintChoice> choice) { m_setups.enqueue(choice); }
    void answerPrinterSetup(bool ok)
    {
        m_setups.enqueue(ok ? std::optional<PrintChoice>(PrintChoice{}) : std::nullopt);
    }
    void setPrinterName(const QString& name) { m_printerName = name; }
    void setHasPrinter(bool has) { m_hasPrinter = has; }
    void setPrinterResolution(int dpi) { m_printerResolution = dpi; }
    // The default printer's paper (A4 unless set).
    void setPaperSize(const QPageSize& paper) { m_paper = paper; }
    // Called on every message box before it answers (e.g. to inspect the UI).
    void onMessage(std::function<void(const Asked&)> hook) { m_hook = std::move(hook); }
    // Called on every message box of every scripted prompter in the program,
    // before its own hook: the test support library checks each question's
    // default button with it.
    static void setMessageCheck(std::function<void(const Asked&)> check);

    // Record.
    const QList<Asked>& asked() const { return m_asked; }
    QStringList askedTexts() const;
    const QList<QString>& fileDialogCaptions() const { return m_fileCaptions; }
    const QList<QString>& fileDialogDirs() const { return m_fileDirs; }
    const QList<QString>& fileDialogFilters() const { return m_fileFilters; }
    // Jobs that reached the printer, oldest first.
    QList<RecordedJob> printedJobs() const;
    // The printer each job was opened on (the file for a PDF), oldest first.
    const QStringList& printersOpened() const { return m_printersOpened; }
    // The choice each job was opened with, oldest first.
    const QList<PrintChoice>& choicesOpened() const { return m_choicesOpened; }
    // What each printer setup started from, oldest first.
    const QList<PrintChoice>& setupsShown() const { return m_setupsShown; }
    void clear();

private:
    static std::function<void(const Asked&)>& messageCheck();
    QString nextFile(const QString& caption, const QString& dir, const QString& filter);

    QQueue<QMessageBox::StandardButton> m_answers;
    QQueue<QString> m_files;
    QQueue<std::optional<QFont>> m_fonts;
    QQueue<std::optional<QColor>> m_colors;
    QQueue<std::optional<PrintChoice>> m_prints;
    QQueue<std::optional<PrintChoice>> m_setups;
    QList<PrintChoice> m_setupsShown;
    QList<PrintChoice> m_choicesOpened;
    QPageSize m_paper{QPageSize::A4};
    QList<Asked> m_asked;
    QList<QString> m_fileCaptions;
    QList<QString> m_fileDirs;
    QList<QString> m_fileFilters;
    QString m_printerName = QStringLiteral("Recorder");
    QStringList m_printersOpened;
    bool m_hasPrinter = true;
    int m_printerResolution = 600;
    std::function<void(const Asked&)> m_hook;
    // Sinks handed out; they outlive the windows that used them.
    QList<std::shared_ptr<RecordingPageSink>> m_sinks;
};

} // namespace quillon
