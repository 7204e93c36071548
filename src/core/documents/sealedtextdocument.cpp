#include "documents/sealedtextdocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>

#include <algorithm>

namespace quillon {

namespace {

// Layout units an image frame may take at most: a stated size of millions
// would otherwise make millions of pages.
constexpr double kMaxImageSide = 600;
constexpr double kDefaultImageSide = 16;

double side(double stated)
{
    return stated > 0 ? std::min(stated, kMaxImageSide) : kDefaultImageSide;
}

// The layout of a buffer: nothing is placed, measured or drawn.
class NoLayout final : public QAbstractTextDocumentLayout {
public:
    using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;

    void draw(QPainter*, const PaintContext&) override {}
    int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 0; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

protected:
    void documentChanged(int, int, int) override {}
};

} // namespace

SealedTextDocument::SealedTextDocument(QObject* parent, Kind kind) : QTextDocument(parent)
{
    if (kind == Kind::Buffer)
        setDocumentLayout(new NoLayout(this));
    documentLayout()->registerHandler(QTextFormat::ImageObject, this);
}

QSizeF SealedTextDocument::intrinsicSize(QTextDocument*, int, const QTextFormat& format)
{
    const QTextImageFormat image = format.toImageFormat();
    return {side(image.width()), side(image.height())};
}

void SealedTextDocument::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                    const QTextFormat&)
{
    painter->save();
    painter->setPen(QPen(Qt::lightGray, 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect);
    painter->restore();
}

SealedTextDocument* SealedTextDocument::sealedClone(QObject* parent) const
{
    auto* copy = new SealedTextDocument(parent);
    copy->setUndoRedoEnabled(false);
    copy->setDefaultFont(defaultFont());
    copy->setDefaultTextOption(defaultTextOption());
    copy->setIndentWidth(indentWidth());
    copy->setDocumentMargin(documentMargin());
    QTextCursor cursor(copy);
    cursor.insertFragment(QTextDocumentFragment(this));
    // A fragment does not carry the first paragraph's own format when it is empty.
    cursor.movePosition(QTextCursor::Start);
    cursor.setBlockFormat(begin().blockFormat());
    cursor.setBlockCharFormat(begin().charFormat());
    copy->rootFrame()->setFrameFormat(rootFrame()->frameFormat());
    return copy;
}

QVariant SealedTextDocument::loadResource(int, const QUrl&)
{
    return {};
}

} // namespace quillon
