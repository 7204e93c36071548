#pragma once

#include <QString>

class QWidget;

namespace quillon {

struct AppState;
class RichTextDocument;

// Shows the print preview of a filled document and returns when the user
// has closed it. The document stays the caller's: the preview borrows its
// scale and render target and hands both back. jobName names the print job
// (empty: "Quillon").
void ShowPreview(AppState& state, RichTextDocument& document, QWidget* parent = nullptr,
                 const QString& jobName = {});

} // namespace quillon
