#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;
class QCalendarWidget;

namespace quillon {

// A date box of the device form: free text of at most ten characters (dates
// are stored as entered) with a drop-down button that offers a calendar and
// writes the chosen day into the box.
class DateEntry final : public QWidget {
    Q_OBJECT
public:
    explicit DateEntry(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* dropDownButton() const { return m_button; }

    // The text written for a day picked in the calendar: the short date of
    // the system when it fits the box, else mm-dd-yyyy.
    static QString textForDate(const QDate& date, int maxLength);
    // The day a box text names, for opening the calendar on it; invalid if none.
    static QDate dateFromText(const QString& text);

private:
    void showCalendar();

    QLineEdit* m_edit;
    QToolButton* m_button;
};

} // namespace quillon
