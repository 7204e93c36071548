#include "documents/richtextdocument.h"

#include "common/logging.h"
#include "documents/documentlimits.h"
#include "documents/nativeformat.h"
#include "documents/rtfformat.h"
#include "documents/sealedtextdocument.h"
#include "documents/textformat.h"
#include "documents/wordformat.h"
#include "printing/pagesink.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillon {

namespace {

// Layout units are 96 dpi pixels; pagination always uses exactly that
// resolution, whatever the screen, so page breaks do not depend on it.
const QImage& layoutDevice()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(3780); // 96 dpi
        img.setDotsPerMeterY(3780);
        return img;
    }();
    return device;
}

constexpr double kTwipsPerUnit = rtf::kTwipsPerUnit;

enum class FileRead { Ok, CannotOpen, NotAFile, TooLarge };

// Opens the path only if it is a regular file, so that /dev/zero (endless),
// a pipe (no writer: blocks forever) or a folder are refused before a byte
// is read. The type is checked on the opened descriptor, not on the name,
// and the size limit on what is actually read, not on what the file claims.
FileRead openRegularFile(const QString& path, QFile* file)
{
#ifdef Q_OS_UNIX
    // Non-blocking, or opening a pipe would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileRead::CannotOpen;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileRead::NotAFile;
    }
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileRead::CannotOpen;
    }
    return FileRead::Ok;
#else
    if (!QFileInfo(path).isFile())
        return QFileInfo::exists(path) ? FileRead::NotAFile : FileRead::CannotOpen;
    return file->open(QIODevice::ReadOnly) ? FileRead::Ok : FileRead::CannotOpen;
#endif
}

FileRead readRegularFile(const QString& path, QByteArray* out)
{
    QFile file;
    const FileRead opened = openRegularFile(path, &file);
    if (opened != FileRead::Ok)
        return opened;
    constexpr qint64 kChunk = 1 << 20;
    out->clear();
    for (;;) {
        const qint64 before = out->size();
        const qint64 want = std::min(kChunk, limits::kMaxFileBytes + 1 - before);
        out->resize(before + want);
        const qint64 got = file.read(out->data() + before, want);
        if (got < 0) {
            out->clear();
            return FileRead::CannotOpen;
        }
        out->resize(before + got);
        if (out->size() > limits::kMaxFileBytes) {
            out->clear();
            return FileRead::TooLarge;
        }
        if (got == 0)
            return FileRead::Ok;
    }
}

} // namespace

RichTextDocument::RichTextDocument(QObject* parent)
    : QObject(parent), m_document(new SealedTextDocument(this)), m_cursor(m_document),
      m_pageLayout(defaultPageLayout())
{
    connect(m_document, &QTextDocument::contentsChanged, this, [this] {
        invalidateLayout();
        if (!m_silent)
            Q_EMIT contentChanged();
    });
}

RichTextDocument::~RichTextDocument() = default;

QString RichTextDocument::text() const
{
    return m_document->toPlainText();
}

void RichTextDocument::setText(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    m_silent = true;
    m_document->setPlainText(s);
    m_document->clearUndoRedoStacks();
    m_silent = false;
    m_cursor = QTextCursor(m_document);
}

QString RichTextDocument::fontName() const
{
    return m_document->defaultFont().family();
}

void RichTextDocument::setFontName(const QString& family)
{
    QFont f = m_document->defaultFont();
    f.setFamilies({family});
    m_silent = true;
    m_document->setDefaultFont(f);
    QTextCursor all(m_document);
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    all.mergeCharFormat(format);
    m_silent = false;
    invalidateLayout();
}

bool RichTextDocument::isEmpty() const
{
    return m_document->isEmpty();
}

bool RichTextDocument::readInto(const QByteArray& bytes, DocumentFormat format,
                                QTextDocument* target, const QString& fileName)
{
    QString error;
    QString notice;
    bool ok = true;
    switch (format) {
    case DocumentFormat::Text:
        ok = text::read(bytes, target, &error);
        break;
    case DocumentFormat::Native:
        ok = native::read(bytes, target, &error);
        break;
    case DocumentFormat::Rtf:
    case DocumentFormat::Word:
        // The content decides: RTF named .doc, a Word file named .rtf.
        if (rtf::looksLikeRtf(bytes))
            ok = rtf::read(bytes, target, &error);
        else if (word::looksLikeWord(bytes) || format == DocumentFormat::Word)
            ok = word::read(bytes, target, &error, &notice);
        else
            ok = rtf::read(bytes, target, &error);
        break;
    default:
        ok = false;
        error = QStringLiteral("Unknown document format.");
    }
    // Every reader keeps to the limits as it goes; this catches whatever
    // one of them could not count.
    DocumentBudget budget;
    if (ok && !budget.addDocument(*target)) {
        ok = false;
        error = budget.error();
        target->clear();
    }
    m_lastNotice = ok ? notice : QString();
    if (!ok) {
        m_lastError =
            fileName.isEmpty()
                ? error
                : QStringLiteral("The file \"%1\" cannot be read: %2").arg(fileName, error);
        qCWarning(lcDocuments) << "read failed" << fileName << error;
    }
    return ok;
}

void RichTextDocument::replaceContent(const QTextDocument& source)
{
    m_silent = true;
    // No undo steps for a whole new content (and no copy of it on the stack).
    m_document->setUndoRedoEnabled(false);
    m_document->clear();
    m_document->setDefaultFont(source.defaultFont());
    if (!source.isEmpty() || source.blockCount() > 1) {
        QTextCursor c(m_document);
        c.insertFragment(QTextDocumentFragment(&source));
    }
    // An empty first paragraph is not carried by a fragment; its format is.
    QTextCursor first(m_document);
    first.setBlockFormat(source.begin().blockFormat());
    first.setBlockCharFormat(source.begin().charFormat());
    // Changing the first block's character format drops that block's layout
    // without laying it out again: a view showing the document would leave
    // the first line blank until it is edited.
    m_document->markContentsDirty(0, m_document->begin().length());
    m_document->setUndoRedoEnabled(true);
    m_document->setModified(false);
    m_silent = false;
    m_cursor = QTextCursor(m_document);
    invalidateLayout();
}

bool RichTextDocument::loadFile(const QString& path, DocumentFormat format)
{
    const QString name = QFileInfo(path).fileName();
    QByteArray bytes;
    switch (readRegularFile(path, &bytes)) {
    case FileRead::Ok:
        break;
    case FileRead::CannotOpen:
        m_lastError = QStringLiteral("The file \"%1\" cannot be opened.").arg(name);
        return false;
    case FileRead::NotAFile:
        m_lastError = QStringLiteral("\"%1\" is not a document file.").arg(name);
        return false;
    case FileRead::TooLarge:
        m_lastError = QStringLiteral("The file \"%1\" is too large.").arg(name);
        return false;
    }
    SealedTextDocument temp(nullptr, SealedTextDocument::Kind::Buffer);
    temp.setUndoRedoEnabled(false);
    temp.setDefaultFont(m_document->defaultFont());
    if (!readInto(bytes, format, &temp, name))
        return false;
    replaceContent(temp);
    return true;
}

bool RichTextDocument::storedBytes(QByteArray* bytes, QString* error) const
{
    // The same counts the reading of the stored form makes.
    DocumentBudget budget;
    QByteArray out;
    if (budget.addDocument(*m_document)) {
        out = native::write(*m_document);
        budget.addMarkup(QString::fromUtf8(out));
    }
    if (budget.exceeded()) {
        if (error)
            *error = budget.error() +
                     QStringLiteral(" It cannot be stored like this; shorten it first.");
        return false;
    }
    *bytes = out;
    return true;
}

bool RichTextDocument::saveFile(const QString& path, DocumentFormat format)
{
    QString error;
    QByteArray bytes;
    // A file the program writes must open again in the program.
    DocumentBudget budget;
    if (!budget.addDocument(*m_document)) {
        m_lastError = QStringLiteral("The file \"%1\" cannot be written: %2")
                          .arg(QFileInfo(path).fileName(), budget.error());
        return false;
    }
    if (format == DocumentFormat::Word) {
        bytes = path.endsWith(QStringLiteral(".docx"), Qt::CaseInsensitive)
                    ? word::writeDocx(*m_document, &error)
                    : word::writeDoc(*m_document, &error);
        if (bytes.isEmpty()) {
            m_lastError = QStringLiteral("The file \"%1\" cannot be written: %2")
                              .arg(QFileInfo(path).fileName(), error);
            return false;
        }
    } else {
        bytes = saveBytes(format);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_lastError =
            QStringLiteral("The file \"%1\" cannot be written.").arg(QFileInfo(path).fileName());
        qCWarning(lcDocuments) << "write failed" << path << file.errorString();
        return false;
    }
    return true;
}

bool RichTextDocument::loadBytes(const QByteArray& bytes, DocumentFormat format)
{
    SealedTextDocument temp(nullptr, SealedTextDocument::Kind::Buffer);
    temp.setUndoRedoEnabled(false);
    temp.setDefaultFont(m_document->defaultFont());
    if (!readInto(bytes, format, &temp, QString()))
        return false;
    replaceContent(temp);
    return true;
}

QByteArray RichTextDocument::saveBytes(DocumentFormat format) const
{
    switch (format) {
    case DocumentFormat::Text:
        return text::write(*m_document);
    case DocumentFormat::Rtf:
        return rtf::write(*m_document);
    case DocumentFormat::Word:
        return word::writeDoc(*m_document);
    case DocumentFormat::Native:
    default:
        return native::write(*m_document);
    }
}

QPageLayout RichTextDocument::defaultPageLayout(QPageSize::PageSizeId size)
{
    if (size == QPageSize::Letter)
        return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                           QMarginsF(1, 1, 1, 1), QPageLayout::Inch);
    return QPageLayout(QPageSize(size), QPageLayout::Portrait, QMarginsF(25, 25, 25, 25),
                       QPageLayout::Millimeter);
}

void RichTextDocument::setPageLayout(const QPageLayout& layout)
{
    if (!layout.isValid())
        return;
    m_pageLayout = layout;
    invalidateLayout();
}

int RichTextDocument::pageWidth() const
{
    return qRound(m_pageLayout.fullRect(QPageLayout::Millimeter).width() * 1440.0 / 25.4);
}

int RichTextDocument::pageHeight() const
{
    return qRound(m_pageLayout.fullRect(QPageLayout::Millimeter).height() * 1440.0 / 25.4);
}

void RichTextDocument::invalidateLayout()
{
    m_paginated.reset();
}

QTextDocument* RichTextDocument::paginated() const
{
    if (m_paginated)
        return m_paginated.get();
    m_paginated.reset(m_document->sealedClone());
    QTextDocument* doc = m_paginated.get();
    doc->documentLayout()->setPaintDevice(const_cast<QImage*>(&layoutDevice()));
    const QMarginsF margins = m_pageLayout.margins(QPageLayout::Millimeter);
    // Millimetres to layout units: 1440 twips an inch, 15 twips a unit.
    const double k = 1440.0 / 25.4 / kTwipsPerUnit;
    doc->setDocumentMargin(0);
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setLeftMargin(margins.left() * k);
    frame.setRightMargin(margins.right() * k);
    frame.setTopMargin(margins.top() * k);
    frame.setBottomMargin(margins.bottom() * k);
    doc->rootFrame()->setFrameFormat(frame);
    doc->setPageSize(QSizeF(pageWidth() / kTwipsPerUnit, pageHeight() / kTwipsPerUnit));
    return doc;
}

int RichTextDocument::pageCount() const
{
    return std::max(1, paginated()->pageCount());
}

int RichTextDocument::pageOfPosition(int position) const
{
    QTextDocument* doc = paginated();
    const QTextBlock block = doc->findBlock(std::clamp(position, 0, doc->characterCount() - 1));
    if (!block.isValid())
        return 1;
    double y = doc->documentLayout()->blockBoundingRect(block).top();
    if (const QTextLayout* layout = block.layout()) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        if (line.isValid())
            y += line.y();
    }
    const double pageHeightUnits = doc->pageSize().height();
    return std::clamp(int(y / pageHeightUnits) + 1, 1, pageCount());
}

void RichTextDocument::setScalePercent(int percent)
{
    if (percent > 0)
        m_scalePercent = percent;
}

bool RichTextDocument::renderAt(int page, QPainter& painter, double percent) const
{
    if (page < 1 || page > pageCount() || percent <= 0)
        return false;
    QTextDocument* doc = paginated();
    const QSizeF size = doc->pageSize();
    painter.save();
    const double s = percent / 100.0 * kTwipsPerUnit;
    painter.scale(s, s);
    const QRectF pageRect(0, (page - 1) * size.height(), size.width(), size.height());
    painter.translate(0, -pageRect.top());
    painter.setClipRect(pageRect, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = pageRect;
    context.palette.setColor(QPalette::Text, Qt::black);
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
    return true;
}

bool RichTextDocument::renderPage(int page, QPainter& painter) const
{
    return renderAt(page, painter, m_scalePercent);
}

bool RichTextDocument::renderPage(int page)
{
    if (!m_renderTarget || page < 1 || page > pageCount())
        return false;
    QPainter painter(m_renderTarget);
    if (!painter.isActive())
        return false;
    painter.scale(m_renderTarget->logicalDpiX() / 1440.0, m_renderTarget->logicalDpiY() / 1440.0);
    return renderAt(page, painter, m_scalePercent);
}

bool RichTextDocument::printPages(PageSink& sink, const QString& jobName, int first, int last,
                                  int copies)
{
    const int n = pageCount();
    first = std::max(1, first);
    last = std::min(n, last);
    copies = std::clamp(copies, 1, 999);
    if (first > last) {
        m_lastError = QStringLiteral("There are no pages to print.");
        return false;
    }
    if (!sink.beginJob(jobName)) {
        m_lastError = sink.lastError();
        return false;
    }
    // The sink draws on its printable area; centre the sheet on it so the
    // document's own margins land where they belong.
    const QSizeF area = sink.pageSizeTwips();
    const QPointF offset((area.width() - pageWidth()) / 2.0, (area.height() - pageHeight()) / 2.0);
    bool ok = true;
    bool firstSheet = true;
    for (int c = 0; c < copies && ok; ++c) {
        for (int p = first; p <= last && ok; ++p) {
            if (!firstSheet && !sink.newPage()) {
                ok = false;
                break;
            }
            firstSheet = false;
            QPainter* painter = sink.painter();
            if (!painter) {
                ok = false;
                break;
            }
            painter->save();
            painter->translate(offset);
            renderAt(p, *painter, 100);
            painter->restore();
        }
    }
    if (!ok) {
        m_lastError = sink.lastError();
        sink.abortJob();
        return false;
    }
    if (!sink.endJob()) {
        m_lastError = sink.lastError();
        return false;
    }
    return true;
}

void RichTextDocument::setCursor(const QTextCursor& cursor)
{
    if (cursor.document() == m_document)
        m_cursor = cursor;
}

bool RichTextDocument::clipboardAction(ClipboardAction action)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    switch (action) {
    case ClipboardAction::Cut:
    case ClipboardAction::Copy: {
        if (!m_cursor.hasSelection())
            return false;
        const QTextDocumentFragment fragment = m_cursor.selection();
        auto* mime = new QMimeData;
        mime->setHtml(fragment.toHtml());
        mime->setText(fragment.toPlainText());
        clipboard->setMimeData(mime);
        if (action == ClipboardAction::Cut)
            m_cursor.removeSelectedText();
        return true;
    }
    case ClipboardAction::Paste: {
        const QMimeData* mime = clipboard->mimeData();
        if (!mime)
            return false;
        // HTML beyond the limits (tags, nesting) would stall the program in
        // the HTML reader: its plain text is pasted instead.
        DocumentBudget budget;
        if (mime->hasHtml() && budget.addMarkup(mime->html()))
            // Read against this document, so that nothing the HTML names
            // is fetched from outside.
            m_cursor.insertFragment(QTextDocumentFragment::fromHtml(mime->html(), m_document));
        else if (mime->hasText())
            m_cursor.insertText(mime->text());
        else
            return false;
        return true;
    }
    }
    return false;
}

} // namespace quillon
