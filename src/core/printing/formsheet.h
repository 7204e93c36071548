#pragma once

#include <optional>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace quillon {

// One text on a printed form: where it sits (twips, inside the sheet) and how
// it is drawn. Windows build their labels from the same items the printout
// paints, so the screen and the paper always agree.
struct SheetItem {
    enum class Role {
        Caption, // a fixed caption such as "Artist:"
        Value,   // a value beside its caption
        Title,   // the song title, a little larger
        Heading, // a page heading
        Number,  // a row number
        Text,    // a multi-line text in a thin frame (track texts, notes)
    };
    QString name; // the control's name, e.g. "lblSongtitle", "Track(3)"
    QRectF rect;  // twips
    QString text;
    Role role = Role::Value;
};

// A page-like form: its size, its texts and thin horizontal rules.
class FormSheet final {
public:
    FormSheet() = default;
    explicit FormSheet(QSizeF sizeTwips) : m_size(sizeTwips) {}

    QSizeF size() const { return m_size; }
    void setSize(QSizeF sizeTwips) { m_size = sizeTwips; }
    const QList<SheetItem>& items() const { return m_items; }
    const QList<QLineF>& rules() const { return m_rules; }

    void add(const QString& name, const QRectF& rect, const QString& text, SheetItem::Role role);
    void addRule(double y, double left, double right) { m_rules << QLineF(left, y, right, y); }
    // The item of that name, or null.
    const SheetItem* find(const QString& name) const;
    QString text(const QString& name) const;

    // The font an item of that role is drawn with, in points (for widgets).
    // textFont is the font of Text items (the user's track font); without
    // one they take the form's own font.
    static QFont font(SheetItem::Role role, const std::optional<QFont>& textFont = {});
    // The item's font, made smaller where its text would not fit the width
    // of its place (the design's narrow labels, long values); never below
    // kMinPointSize.
    static QFont fittedFont(const SheetItem& item, const std::optional<QFont>& textFont = {});
    static constexpr double kMinPointSize = 6;
    // How an item of that role is aligned and wrapped inside its rectangle.
    static int textFlags(SheetItem::Role role);
    // Inner padding of framed texts, twips.
    static constexpr double kTextPadding = 45;

    // Paints the whole sheet on a painter whose unit is one twip, Text items
    // in textFont as font() says.
    void paint(QPainter& painter, const std::optional<QFont>& textFont = {}) const;

private:
    QSizeF m_size;
    QList<SheetItem> m_items;
    QList<QLineF> m_rules;
};

} // namespace quillon
