#include "devices/dateentry.h"

#include "devices/devicefields.h"

#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QToolButton>
#include <QWidgetAction>

namespace quillon {

DateEntry::DateEntry(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this))
{
    m_edit->setMaxLength(devicefields::kDateLength);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setToolTip(tr("Choose a date"));
    m_button->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    connect(m_button, &QToolButton::clicked, this, &DateEntry::showCalendar);
}

QString DateEntry::text() const
{
    return m_edit->text();
}

void DateEntry::setText(const QString& text)
{
    m_edit->setText(text);
}

QString DateEntry::textForDate(const QDate& date, int maxLength)
{
    const QString local = QLocale::system().toString(date, QLocale::ShortFormat);
    if (!local.isEmpty() && local.size() <= maxLength)
        return local;
    return date.toString(QStringLiteral("MM-dd-yyyy"));
}

QDate DateEntry::dateFromText(const QString& text)
{
    const QString t = text.trimmed();
    QDate d = QLocale::system().toDate(t, QLocale::ShortFormat);
    for (const char* format : {"MM-dd-yyyy", "dd.MM.yyyy", "yyyy-MM-dd", "MM/dd/yyyy"}) {
        if (d.isValid())
            break;
        d = QDate::fromString(t, QString::fromLatin1(format));
    }
    return d;
}

void DateEntry::showCalendar()
{
    QMenu popup(this);
    auto* calendar = new QCalendarWidget(&popup);
    const QDate shown = dateFromText(m_edit->text());
    calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    auto* action = new QWidgetAction(&popup);
    action->setDefaultWidget(calendar);
    popup.addAction(action);
    connect(calendar, &QCalendarWidget::clicked, &popup, [this, &popup](const QDate& date) {
        m_edit->setText(textForDate(date, m_edit->maxLength()));
        popup.close();
    });
    connect(calendar, &QCalendarWidget::activated, calendar, &QCalendarWidget::clicked);
    popup.exec(mapToGlobal(QPoint(0, height())));
    m_edit->setFocus();
}

} // namespace quillon
