#pragma once

#include <QPlainTextEdit>

namespace quillon {

// The multi-line note box of the device form: keeps to a character set
// (without regard to letter case, line breaks allowed) and a length limit,
// whether the text is typed or pasted.
class DeviceNoteEdit final : public QPlainTextEdit {
    Q_OBJECT
public:
    DeviceNoteEdit(const QString& allowed, int maxLength, QWidget* parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString& text) { setPlainText(text); }

private:
    void enforce();

    QString m_allowed;
    int m_maxLength;
    bool m_enforcing = false;
};

} // namespace quillon
