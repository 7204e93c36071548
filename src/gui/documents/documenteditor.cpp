#include "documents/documenteditor.h"

#include "common/prompter.h"
#include "documents/characterdialog.h"
#include "documents/documentbuttonbar.h"
#include "documents/documentruler.h"
#include "documents/documentstatusbar.h"
#include "documents/paragraphdialog.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

DocumentEditor::DocumentEditor(RichTextDocument& document, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_document(document), m_prompter(prompter)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_buttonBar = new DocumentButtonBar(this);
    m_buttonBar->setObjectName(QStringLiteral("buttonBar"));
    m_ruler = new DocumentRuler(this);
    m_edit = new QTextEdit(this);
    m_edit->setObjectName(QStringLiteral("textEdit"));
    m_statusBar = new DocumentStatusBar(this);
    layout->addWidget(m_buttonBar);
    layout->addWidget(m_ruler);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_statusBar);

    // The edit widget would put its own font into the document; the
    // document's font (FontName) wins.
    const QFont documentFont = document.textDocument()->defaultFont();
    m_edit->setDocument(document.textDocument());
    document.textDocument()->setDefaultFont(documentFont);
    m_edit->setAcceptRichText(true);
    m_edit->installEventFilter(this);
    // The text area gets its width only as the window is shown, after this
    // widget's own resize: the ruler follows the viewport itself.
    m_edit->viewport()->installEventFilter(this);
    m_edit->setTabChangesFocus(false);

    m_statusTimer = new QTimer(this);
    m_statusTimer->setSingleShot(true);
    m_statusTimer->setInterval(100);
    connect(m_statusTimer, &QTimer::timeout, this, &DocumentEditor::refreshStatus);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &DocumentEditor::cursorMoved);
    connect(m_edit, &QTextEdit::selectionChanged, this,
            [this] { m_document.setCursor(m_edit->textCursor()); });
    // Edits, loads and setText all pass here.
    connect(document.textDocument(), &QTextDocument::contentsChanged, this,
            &DocumentEditor::scheduleStatus);

    connect(m_buttonBar, &DocumentButtonBar::boldToggled, this, &DocumentEditor::setBold);
    connect(m_buttonBar, &DocumentButtonBar::italicToggled, this, &DocumentEditor::setItalic);
    connect(m_buttonBar, &DocumentButtonBar::underlineToggled, this, &DocumentEditor::setUnderline);
    connect(m_buttonBar, &DocumentButtonBar::alignmentChosen, this, &DocumentEditor::setAlignment);
    connect(m_buttonBar, &DocumentButtonBar::fontChosen, this, &DocumentEditor::setFontFamily);
    connect(m_buttonBar, &DocumentButtonBar::sizeChosen, this, &DocumentEditor::setFontPointSize);
    cursorMoved();
    refreshStatus();
}

DocumentEditor::~DocumentEditor()
{
    // The document outlives the editor; it must not keep a dangling view.
    m_edit->setDocument(nullptr);
}

void DocumentEditor::setBarsVisible(bool buttonBar, bool ruler, bool statusBar)
{
    m_buttonBar->setVisible(buttonBar);
    m_ruler->setVisible(ruler);
    m_statusBar->setVisible(statusBar);
}

bool DocumentEditor::clipboardAction(RichTextDocument::ClipboardAction action)
{
    m_document.setCursor(m_edit->textCursor());
    const bool done = m_document.clipboardAction(action);
    if (done)
        m_edit->setTextCursor(m_document.cursor());
    m_edit->setFocus();
    return done;
}

void DocumentEditor::mergeFormat(const QTextCharFormat& format)
{
    // With a selection the selection changes, otherwise the text typed next.
    m_edit->mergeCurrentCharFormat(format);
    m_edit->setFocus();
}

void DocumentEditor::setBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

void DocumentEditor::setItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

void DocumentEditor::setUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeFormat(f);
}

void DocumentEditor::setFontFamily(const QString& family)
{
    if (family.isEmpty())
        return;
    QTextCharFormat f;
    f.setFontFamilies({family});
    mergeFormat(f);
}

void DocumentEditor::setFontPointSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeFormat(f);
}

void DocumentEditor::setAlignment(Qt::Alignment alignment)
{
    m_edit->setAlignment(alignment | Qt::AlignAbsolute);
    cursorMoved();
    m_edit->setFocus();
}

void DocumentEditor::showCharacterDialog()
{
    CharacterDialog dialog(m_prompter, m_edit->currentCharFormat(), this);
    if (dialog.exec() == QDialog::Accepted)
        mergeFormat(dialog.format());
}

void DocumentEditor::showParagraphDialog()
{
    ParagraphDialog dialog(m_edit->textCursor().blockFormat(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTextCursor c = m_edit->textCursor();
    c.mergeBlockFormat(dialog.format());
    cursorMoved();
}

int DocumentEditor::currentPage() const
{
    return m_document.pageOfPosition(m_edit->textCursor().position());
}

int DocumentEditor::currentLine() const
{
    return m_edit->textCursor().blockNumber() + 1;
}

int DocumentEditor::currentColumn() const
{
    return m_edit->textCursor().positionInBlock() + 1;
}

void DocumentEditor::cursorMoved()
{
    const QTextCursor c = m_edit->textCursor();
    m_document.setCursor(c);
    m_buttonBar->showFormat(m_edit->currentCharFormat(), c.blockFormat().alignment());
    refreshRuler();
    scheduleStatus();
}

void DocumentEditor::scheduleStatus()
{
    if (!m_statusTimer->isActive())
        m_statusTimer->start();
}

void DocumentEditor::refreshStatus()
{
    m_statusBar->showPosition(currentPage(), m_document.pageCount(), currentLine(),
                              currentColumn());
}

void DocumentEditor::refreshRuler()
{
    const QTextBlockFormat f = m_edit->textCursor().blockFormat();
    const double margin = m_document.textDocument()->documentMargin();
    const int left = m_edit->geometry().left() + m_edit->frameWidth() + int(margin) -
                     m_edit->horizontalScrollBar()->value();
    m_ruler->setTextArea(left, m_edit->viewport()->width() - 2 * margin);
    m_ruler->setIndents(f.leftMargin(), f.textIndent(), f.rightMargin());
}

bool DocumentEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit->viewport() && event->type() == QEvent::Resize)
        refreshRuler();
    // QTextEdit hands every font change of the widget (a window's font,
    // the application's) to its document; the document's font is the
    // document's own (FontName), so it is put back afterwards.
    if (watched == m_edit && event->type() == QEvent::FontChange && !m_inFontChange) {
        const QFont keep = m_document.textDocument()->defaultFont();
        m_inFontChange = true;
        static_cast<QObject*>(m_edit)->event(event);
        m_inFontChange = false;
        m_document.textDocument()->setDefaultFont(keep);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DocumentEditor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    refreshRuler();
}

} // namespace quillon
