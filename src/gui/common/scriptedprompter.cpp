#include "common/scriptedprompter.h"

#include "common/configuredprinter.h"
#include "common/printerpagesink.h"

#include <QPrinter>

namespace quillon {

namespace {
// Hands a shared recording sink to a caller that wants to own its sink.
class SharedSink final : public PageSink {
public:
    explicit SharedSink(std::shared_ptr<RecordingPageSink> sink) : m_sink(std::move(sink)) {}
    bool beginJob(const QString& name) override { return m_sink->beginJob(name); }
    bool newPage() override { return m_sink->newPage(); }
    bool endJob() override { return m_sink->endJob(); }
    void abortJob() override { m_sink->abortJob(); }
    QPainter* painter() override { return m_sink->painter(); }
    QSizeF pageSizeTwips() const override { return m_sink->pageSizeTwips(); }
    QPageLayout pageLayout() const override { return m_sink->pageLayout(); }
    QString deviceName() const override { return m_sink->deviceName(); }

private:
    std::shared_ptr<RecordingPageSink> m_sink;
};
} // namespace

std::function<void(const ScriptedPrompter::Asked&)>& ScriptedPrompter::messageCheck()
{
    static std::function<void(const Asked&)> check;
    return check;
}

void ScriptedPrompter::setMessageCheck(std::function<void(const Asked&)> check)
{
    messageCheck() = std::move(check);
}

QMessageBox::StandardButton ScriptedPrompter::message(QWidget*, const QString& text,
                                                      const QString& title, Icon icon,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    const Asked a{text, title, icon, buttons, defaultButton};
    m_asked << a;
    if (messageCheck())
        messageCheck()(a);
    if (m_hook)
        m_hook(a);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    for (int b = QMessageBox::FirstButton; b <= QMessageBox::LastButton; b <<= 1)
        if (buttons.testFlag(QMessageBox::StandardButton(b)))
            return QMessageBox::StandardButton(b);
    return QMessageBox::Ok;
}

QString ScriptedPrompter::nextFile(const QString& caption, const QString& dir,
                                   const QString& filter)
{
    m_fileCaptions << caption;
    m_fileDirs << dir;
    m_fileFilters << filter;
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedPrompter::openFileName(QWidget*, const QString& caption, const QString& dir,
                                       const QString& filter, QString*)
{
    return nextFile(caption, dir, filter);
}

QString ScriptedPrompter::saveFileName(QWidget*, const QString& caption, const QString& dir,
                                       const QString& filter, QString*)
{
    return nextFile(caption, dir, filter);
}

std::optional<QFont> ScriptedPrompter::chooseFont(QWidget*, const QFont&)
{
    return m_fonts.isEmpty() ? std::nullopt : m_fonts.dequeue();
}

std::optional<QColor> ScriptedPrompter::chooseColor(QWidget*, const QColor&)
{
    return m_colors.isEmpty() ? std::nullopt : m_colors.dequeue();
}

std::optional<PrintChoice> ScriptedPrompter::printDialog(QWidget*, int, int)
{
    return m_prints.isEmpty() ? std::nullopt : m_prints.dequeue();
}

std::optional<PrintChoice> ScriptedPrompter::printerSetupDialog(QWidget*,
                                                                const PrintChoice& current)
{
    m_setupsShown << current;
    return m_setups.isEmpty() ? std::nullopt : m_setups.dequeue();
}

std::unique_ptr<PageSink> ScriptedPrompter::openDefaultPrinter()
{
    return openPrinter(PrintChoice{});
}

std::unique_ptr<PageSink> ScriptedPrompter::openPrinter(const PrintChoice& choice)
{
    // A file needs no printer: it is written for real.
    const bool toFile = !choice.outputFile.isEmpty() ||
                        (choice.printer && choice.printer->outputFormat() == QPrinter::PdfFormat);
    if (toFile || choice.printer) {
        std::shared_ptr<QPrinter> printer = ConfiguredPrinter::forChoice(choice);
        if (!printer)
            return nullptr;
        // The scripted printer's paper, never the machine's.
        if (!choice.printer)
            printer->setPageSize(m_hasPrinter ? m_paper : QPageSize(QPageSize::A4));
        m_choicesOpened << choice;
        m_printersOpened << (toFile ? printer->outputFileName() : printer->printerName());
        return std::make_unique<PrinterPageSink>(std::move(printer));
    }
    if (!m_hasPrinter)
        return nullptr;
    const QString device = choice.printerName.isEmpty() ? m_printerName : choice.printerName;
    auto sink = std::make_shared<RecordingPageSink>(QSizeF(11906 - 1700, 16838 - 1700), device);
    // A4 keeps the printable area the recordings have always had.
    sink->setPageLayout(QPageLayout(m_paper, QPageLayout::Portrait, QMarginsF()),
                        m_paper.id() != QPageSize::A4);
    m_sinks << sink;
    m_printersOpened << device;
    m_choicesOpened << choice;
    return std::make_unique<SharedSink>(sink);
}

QStringList ScriptedPrompter::askedTexts() const
{
    QStringList texts;
    for (const Asked& a : m_asked)
        texts << a.text;
    return texts;
}

QList<RecordedJob> ScriptedPrompter::printedJobs() const
{
    QList<RecordedJob> jobs;
    for (const auto& sink : m_sinks)
        jobs << sink->jobs();
    return jobs;
}

void ScriptedPrompter::clear()
{
    m_asked.clear();
    m_fileCaptions.clear();
    m_fileDirs.clear();
    m_fileFilters.clear();
    m_sinks.clear();
    m_printersOpened.clear();
    m_choicesOpened.clear();
    m_setupsShown.clear();
}

} // namespace quillon
