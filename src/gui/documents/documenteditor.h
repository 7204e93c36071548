#pragma once

#include "documents/richtextdocument.h"

#include <QWidget>

class QTextEdit;
class QTimer;
class QTextCharFormat;

namespace quillon {

class DocumentButtonBar;
class DocumentRuler;
class DocumentStatusBar;
class Prompter;

// The editor of a RichTextDocument, as the lyrics and notebook windows embed
// it: button bar, ruler, the text and a status bar (page, line, column),
// stacked top to bottom. The document belongs to the caller and must
// outlive the editor; the editor edits it in place, so everything typed is
// in the document at once and RichTextDocument::contentChanged reports it.
class DocumentEditor final : public QWidget {
    Q_OBJECT

public:
    DocumentEditor(RichTextDocument& document, Prompter& prompter, QWidget* parent = nullptr);
    ~DocumentEditor() override;

    RichTextDocument& document() const { return m_document; }
    QTextEdit* textEdit() const { return m_edit; }
    DocumentButtonBar* buttonBar() const { return m_buttonBar; }
    DocumentRuler* ruler() const { return m_ruler; }
    DocumentStatusBar* statusBar() const { return m_statusBar; }
    // Shows or hides the three bars (all shown by default).
    void setBarsVisible(bool buttonBar, bool ruler, bool statusBar);

    // Edit menu: 1 cut, 2 copy, 3 paste at the editor's cursor.
    bool clipboardAction(RichTextDocument::ClipboardAction action);
    // Format menu; both apply on OK and change nothing on Cancel.
    void showCharacterDialog();
    void showParagraphDialog();

    // What the bar's buttons do, on the selection (or the text typed next).
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setFontFamily(const QString& family);
    void setFontPointSize(double points);
    void setAlignment(Qt::Alignment alignment);

    // Cursor position as the status bar shows it (shortly after a change):
    // page of the printed layout, paragraph (line) and column, all 1-based.
    int currentPage() const;
    int currentLine() const;
    int currentColumn() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mergeFormat(const QTextCharFormat& format);
    void cursorMoved();
    void scheduleStatus();
    void refreshStatus();
    void refreshRuler();

    RichTextDocument& m_document;
    Prompter& m_prompter;
    DocumentButtonBar* m_buttonBar;
    DocumentRuler* m_ruler;
    QTextEdit* m_edit;
    DocumentStatusBar* m_statusBar;
    // Page numbers need the whole document laid out; typing bursts share
    // one refresh.
    QTimer* m_statusTimer;
    bool m_inFontChange = false;
};

} // namespace quillon
