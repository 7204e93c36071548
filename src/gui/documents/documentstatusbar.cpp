#include "documents/documentstatusbar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace quillon {

DocumentStatusBar::DocumentStatusBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    const auto panel = [this, layout](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(90);
        layout->addWidget(l);
        return l;
    };
    m_page = panel(QStringLiteral("lblPage"));
    m_line = panel(QStringLiteral("lblLine"));
    m_column = panel(QStringLiteral("lblColumn"));
    layout->addStretch(1);
    showPosition(1, 1, 1, 1);
}

void DocumentStatusBar::showPosition(int page, int pageCount, int line, int column)
{
    m_page->setText(tr("Page %1 of %2").arg(page).arg(pageCount));
    m_line->setText(tr("Line %1").arg(line));
    m_column->setText(tr("Column %1").arg(column));
}

QString DocumentStatusBar::pageText() const
{
    return m_page->text();
}

QString DocumentStatusBar::lineText() const
{
    return m_line->text();
}

QString DocumentStatusBar::columnText() const
{
    return m_column->text();
}

} // namespace quillon
