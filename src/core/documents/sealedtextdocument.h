#pragma once

#include <QTextDocument>
#include <QTextObjectInterface>

namespace quillon {

// A text document that never loads anything from outside itself. Qt's
// rich text fetches style sheets, images and backgrounds named in HTML from
// local paths as it reads and draws; a stored or imported document naming
// /dev/zero or a pipe would then exhaust memory or hang the program. Here
// every such resource is simply missing; resources added with addResource()
// still work. Images are drawn as empty frames of their stated size (within
// reason): Qt's own image handler would read the path itself.
class SealedTextDocument final : public QTextDocument, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    // A Shown document is laid out and drawn. A Buffer only receives content
    // to be copied elsewhere: it lays out and draws nothing, which saves the
    // memory and time of a layout nobody looks at.
    enum class Kind { Shown, Buffer };

    explicit SealedTextDocument(QObject* parent = nullptr, Kind kind = Kind::Shown);

    // QTextObjectInterface, for images.
    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

    // A sealed copy with the same content, default font and page setup
    // (QTextDocument::clone() would give an unsealed one).
    SealedTextDocument* sealedClone(QObject* parent = nullptr) const;

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};

} // namespace quillon
