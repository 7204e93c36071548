#include "printing/showpreview.h"

#include "printing/printpreview.h"

namespace quillon {

void ShowPreview(AppState& state, RichTextDocument& document, QWidget* parent,
                 const QString& jobName)
{
    // A new window every time: nothing but its place survives a showing.
    PrintPreview preview(state, document, parent, jobName);
    preview.exec();
}

} // namespace quillon
