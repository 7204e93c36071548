#include "printing/showpreview.h"

#include "common/appstate.h"
#include "common/configuredprinter.h"
#include "common/prompter.h"
#include "documents/richtextdocument.h"
#include "printing/printpreview.h"

namespace quillon {

void ShowPreview(AppState& state, RichTextDocument& document, QWidget* parent,
                 const QString& jobName)
{
    // The pages shown are the pages printed: paginate on the paper of the
    // printer in use. A document already on that paper keeps its layout.
    const QPageLayout sheet(state.prompter.defaultPaperSize(), document.pageLayout().orientation(),
                            QMarginsF());
    if (!sheet.pageSize().isEquivalentTo(document.pageLayout().pageSize()))
        document.setPageLayout(ConfiguredPrinter::documentLayout(sheet));
    // A new window every time: nothing but its place survives a showing.
    PrintPreview preview(state, document, parent, jobName);
    preview.exec();
}

} // namespace quillon
