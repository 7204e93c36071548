#include "documents/generalinfowindow.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "printing/documentprintjob.h"
#include "store/datafolder.h"
#include "store/settings.h"

#include <algorithm>
#include <QGuiApplication>
#include <QPushButton>

namespace quillon {

namespace {
const QString kTitle = QStringLiteral("General Info");
} // namespace

GeneralInfoWindow::GeneralInfoWindow(AppState& state, QWidget* parent)
    : NoteWindow(state,
                 {QStringLiteral("GInfoMain"), QStringLiteral("Note changed!"),
                  state.settings.ginfoSaveAs(), true},
                 parent),
      m_store(state.data)
{
    setObjectName(QStringLiteral("frmGeneralInfo"));
    setWindowTitle(kTitle);
    closeButton()->setToolTip(QStringLiteral("Close window"));

    const std::optional<NoteContent> content = m_store.open() ? m_store.read() : std::nullopt;
    if (!content) {
        showUnreadable(QStringLiteral("The notebook could not be read.\r") + m_store.lastError());
        return;
    }
    m_asRead = content->text;
    showFieldText(content->text, content->isNull);
}

GeneralInfoWindow::~GeneralInfoWindow() = default;

bool GeneralInfoWindow::storeFieldText(const QString& fieldText, QString& error)
{
    if (m_store.write(fieldText, m_asRead)) {
        m_asRead = fieldText;
        return true;
    }
    error = m_store.lastError();
    // Saving again puts the typed text in place of the other room's.
    if (m_store.changedElsewhere())
        if (const std::optional<NoteContent> now = m_store.read())
            m_asRead = now->text;
    return false;
}

QString GeneralInfoWindow::importFolder() const
{
    return state().data.dir();
}

QString GeneralInfoWindow::exportFolder() const
{
    return state().data.programDir();
}

bool GeneralInfoWindow::print()
{
    Prompter& prompter = state().prompter;
    RichTextDocument& doc = document();
    const int pages = std::max(1, doc.pageCount());
    const std::optional<PrintChoice> choice = prompter.printDialog(this, 1, pages);
    if (!choice)
        return false;
    DocumentPrintJob job(prompter, doc);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const DocumentPrintJob::Result result = job.run(*choice, kTitle);
    QGuiApplication::restoreOverrideCursor();
    switch (result) {
    case DocumentPrintJob::Result::Printed:
        return true;
    case DocumentPrintJob::Result::NothingToPrint:
        // A range beyond the notebook: nothing to put on paper.
        return false;
    case DocumentPrintJob::Result::NoPrinter:
        prompter.critical(this, QStringLiteral("No printer is installed."));
        return false;
    case DocumentPrintJob::Result::Failed:
        break;
    }
    qCWarning(lcPrinting) << "notebook not printed:" << job.lastError();
    prompter.critical(this,
                      QStringLiteral("The notebook could not be printed.\r") + job.lastError());
    return false;
}

void GeneralInfoWindow::aboutToClose()
{
    m_store.close();
}

} // namespace quillon
