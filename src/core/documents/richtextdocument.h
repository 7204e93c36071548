#pragma once

#include "documents/documentformat.h"
#include "documents/sealedtextdocument.h"

#include <memory>
#include <QObject>
#include <QPageLayout>
#include <QTextCursor>

class QPainter;
class QPaintDevice;
class QTextDocument;

namespace quillon {

class PageSink;

// The rich-text document component behind the lyrics, the notebook and the
// printable lists: one formatted text (a QTextDocument the editor works on
// directly), its files and buffers, its pagination and its printing.
//
// Units: every page measure is in twips (1/1440 inch). Inside the
// QTextDocument one unit is 15 twips (a 96 dpi pixel); fonts are in points.
//
// Pagination does not disturb the editor: pages are laid out on a private
// copy of the document, rebuilt lazily after each change.
//
// A document never loads anything from outside itself (style sheets or
// images named in stored or pasted HTML stay missing), and reading refuses
// what passes the limits in documentlimits.h.
class RichTextDocument final : public QObject {
    Q_OBJECT

public:
    enum class ClipboardAction { Cut = 1, Copy = 2, Paste = 3 };

    explicit RichTextDocument(QObject* parent = nullptr);
    ~RichTextDocument() override;

    // The edited document; a QTextEdit may show and edit it directly.
    QTextDocument* textDocument() const { return m_document; }

    // --- Content ---------------------------------------------------------
    // The whole content as plain text (paragraphs joined by "\n").
    QString text() const;
    // Replaces the content with unformatted text in the current font;
    // CR LF and lone CR count as paragraph ends.
    void setText(const QString& text);
    // The document's font name; setting it applies it to the whole content
    // and to text typed or set later.
    QString fontName() const;
    void setFontName(const QString& family);
    bool isEmpty() const;

    // --- Files and buffers -----------------------------------------------
    // Replaces the content with the file. FormatWord and FormatRtf decide by
    // the content (an RTF file named .doc is read as RTF). Only regular files
    // are read (no devices, pipes or folders), and no more than
    // limits::kMaxFileBytes of them. On failure the content stays as it was
    // and lastError() says why.
    bool loadFile(const QString& path, DocumentFormat format);
    // Writes the file (replaced atomically; nothing else is touched).
    // FormatWord writes .docx when the name ends so, else Word 97-2003.
    bool saveFile(const QString& path, DocumentFormat format);
    // The document as bytes and back; meant for DocumentFormat::Native, the
    // form the windows store, but every format is accepted.
    bool loadBytes(const QByteArray& bytes, DocumentFormat format = DocumentFormat::Native);
    QByteArray saveBytes(DocumentFormat format = DocumentFormat::Native) const;
    // The native form for storing, refused (false, with the sentence for
    // the user) when typing or pasting took the content past what a read
    // accepts: stored text must always open again.
    bool storedBytes(QByteArray* bytes, QString* error) const;
    // A user-facing sentence after a failed load or save.
    QString lastError() const { return m_lastError; }
    // After a load that succeeded: a sentence the user should read (a Word
    // file's tracked changes were taken as accepted), or empty.
    QString lastNotice() const { return m_lastNotice; }

    // --- Pages -----------------------------------------------------------
    // A4 or Letter, portrait, with margins of 2.5 cm (A4) or 1 inch (Letter).
    static QPageLayout defaultPageLayout(QPageSize::PageSizeId size = QPageSize::A4);
    // The paper the document is paginated for; the windows pass the default
    // printer's paper. Default: defaultPageLayout(A4).
    void setPageLayout(const QPageLayout& layout);
    QPageLayout pageLayout() const { return m_pageLayout; }
    // Whole sheet, margins included, in twips.
    int pageWidth() const;
    int pageHeight() const;
    // Pages of the current layout (at least 1).
    int pageCount() const;
    // The page (1-based) on which a document position lies.
    int pageOfPosition(int position) const;

    // --- Rendering and printing ------------------------------------------
    // Magnification used by renderPage: 100 draws a page pageWidth() by
    // pageHeight() painter units (twips). Any positive value is accepted.
    int scalePercent() const { return m_scalePercent; }
    void setScalePercent(int percent);
    // The surface renderPage(int) draws on (a widget, image or printer);
    // not owned.
    void setRenderTarget(QPaintDevice* target) { m_renderTarget = target; }
    QPaintDevice* renderTarget() const { return m_renderTarget; }
    // Draws page `page` (1-based) on the render target at scalePercent, its
    // top-left corner at the target's origin. A page outside 1..pageCount()
    // draws nothing and returns false.
    bool renderPage(int page);
    // The same on a painter whose units are twips (PageSink::painter()).
    bool renderPage(int page, QPainter& painter) const;
    // Prints pages first..last (clamped to the document), `copies` times, as
    // one job on the sink at 100 %: every copy starts on a sheet of its own
    // and no empty sheet follows the last page.
    bool printPages(PageSink& sink, const QString& jobName, int first, int last, int copies);

    // --- Editing ---------------------------------------------------------
    // The cursor (and selection) the clipboard and the format commands work
    // on; an editor keeps it in step with its own.
    QTextCursor cursor() const { return m_cursor; }
    void setCursor(const QTextCursor& cursor);
    // 1 cut, 2 copy, 3 paste, on cursor(). False when there was nothing to do.
    bool clipboardAction(ClipboardAction action);

Q_SIGNALS:
    // The content or its formatting changed by editing (not by load, setText
    // or setFontName: after those the windows set their own flags).
    void contentChanged();

private:
    bool readInto(const QByteArray& bytes, DocumentFormat format, QTextDocument* target,
                  const QString& fileName);
    void replaceContent(const QTextDocument& source);
    QTextDocument* paginated() const;
    void invalidateLayout();
    bool renderAt(int page, QPainter& painter, double percent) const;

    SealedTextDocument* m_document;
    QTextCursor m_cursor;
    QPageLayout m_pageLayout;
    mutable std::unique_ptr<QTextDocument> m_paginated;
    QPaintDevice* m_renderTarget = nullptr;
    int m_scalePercent = 100;
    bool m_silent = false;
    QString m_lastError;
    QString m_lastNotice;
};

} // namespace quillon
