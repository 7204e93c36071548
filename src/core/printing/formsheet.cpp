#include "printing/formsheet.h"

#include "printing/pagesink.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace quillon {

void FormSheet::add(const QString& name, const QRectF& rect, const QString& text,
                    SheetItem::Role role)
{
    m_items << SheetItem{name, rect, text, role};
}

const SheetItem* FormSheet::find(const QString& name) const
{
    for (const SheetItem& item : m_items) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

QString FormSheet::text(const QString& name) const
{
    const SheetItem* item = find(name);
    return item ? item->text : QString();
}

QFont FormSheet::font(SheetItem::Role role, const std::optional<QFont>& textFont)
{
    // A plain sans-serif face in the small sizes a printed form uses.
    // The narrow metric-compatible faces first: the form's labels were
    // measured for a compact sans-serif.
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica"),
                   QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8);
    switch (role) {
    case SheetItem::Role::Caption:
    case SheetItem::Role::Value:
        break;
    case SheetItem::Role::Number:
        f.setBold(true);
        break;
    case SheetItem::Role::Title:
        f.setPointSizeF(10);
        f.setBold(true);
        break;
    case SheetItem::Role::Heading:
        f.setPointSizeF(9);
        f.setBold(true);
        break;
    case SheetItem::Role::Text:
        // Taken as it is, even a font nobody set explicitly: the track boxes
        // show the application's font without anyone setting it.
        if (textFont)
            return *textFont;
        break;
    }
    return f;
}

QFont FormSheet::fittedFont(const SheetItem& item, const std::optional<QFont>& textFont)
{
    QFont f = font(item.role, textFont);
    if (item.role == SheetItem::Role::Text || item.text.isEmpty() || f.pointSizeF() <= 0)
        return f;
    // Screen fonts are hinted and run a little wider than the printer's;
    // leave them some room.
    const double room = item.rect.width() * 0.96;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const double advance = QFontMetricsF(PageSink::twipsFont(f)).horizontalAdvance(item.text);
        if (advance <= room || f.pointSizeF() <= kMinPointSize)
            break;
        const double smaller = std::floor(f.pointSizeF() * room / advance * 4) / 4;
        f.setPointSizeF(qMax(kMinPointSize, qMin(smaller, f.pointSizeF() - 0.25)));
    }
    return f;
}

int FormSheet::textFlags(SheetItem::Role role)
{
    switch (role) {
    case SheetItem::Role::Text:
        return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    case SheetItem::Role::Number:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void FormSheet::paint(QPainter& painter, const std::optional<QFont>& textFont) const
{
    painter.save();
    painter.setPen(QPen(Qt::black, 15)); // one screen pixel, a fine line on paper
    for (const QLineF& rule : m_rules)
        painter.drawLine(rule);
    for (const SheetItem& item : m_items) {
        QRectF r = item.rect;
        if (item.role == SheetItem::Role::Text) {
            painter.setPen(QPen(Qt::gray, 15));
            painter.drawRect(r);
            painter.setPen(Qt::black);
            r.adjust(kTextPadding, kTextPadding / 2, -kTextPadding, -kTextPadding / 2);
        }
        if (item.text.isEmpty())
            continue;
        painter.setPen(Qt::black);
        painter.setFont(PageSink::twipsFont(fittedFont(item, textFont)));
        painter.save();
        painter.setClipRect(r);
        painter.drawText(r, textFlags(item.role), item.text);
        painter.restore();
    }
    painter.restore();
}

} // namespace quillon
