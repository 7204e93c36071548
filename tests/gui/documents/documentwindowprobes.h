#pragma once

// What the lyrics and notebook window tests read off the screen and out of
// the store: the ruler as painted, the lines of text as painted, and a
// stored document field as text.

#include "documents/documenteditor.h"
#include "documents/documentruler.h"
#include "documents/richtextdocument.h"
#include "notebook/notebookstore.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>

namespace quillon::test {

// Where the ruler's white text area ends, as painted (ruler pixels), and
// where it should end: over the right edge of the text.
inline QPair<int, int> rulerTextRight(const DocumentEditor& editor)
{
    DocumentRuler* ruler = editor.ruler();
    const QImage image = ruler->grab().toImage();
    const QRgb base = ruler->palette().base().color().rgb();
    const int y = 3; // inside the white band, above the ticks
    int painted = -1;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == base)
            painted = x;
    const QTextEdit* edit = editor.textEdit();
    const int margin = int(edit->document()->documentMargin());
    const int wanted = edit->geometry().left() + edit->frameWidth() + edit->viewport()->width() -
                       margin - edit->horizontalScrollBar()->value() - 1;
    return {painted, wanted};
}

// The bands of rows with text pixels in the editor's viewport, top to
// bottom, as [first row, last row] pairs.
inline QList<QPair<int, int>> paintedLines(QTextEdit* edit)
{
    const QImage image = edit->viewport()->grab().toImage();
    QList<QPair<int, int>> bands;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 128;
        if (ink && !inBand)
            bands.append({y, y});
        if (ink)
            bands.last().second = y;
        inBand = ink;
    }
    return bands;
}

// A stored lyrics or notebook field as plain text.
inline QString storedText(const QString& fieldText)
{
    RichTextDocument document;
    document.loadBytes(NotebookStore::fieldTextToBytes(fieldText), DocumentFormat::Native);
    return document.text();
}

} // namespace quillon::test
