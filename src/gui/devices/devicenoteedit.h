#pragma once

#include <QPlainTextEdit>

namespace quillon {

class CharacterFilter;

// The multi-line note box of the device form: what is typed or pasted keeps
// to a character set (without regard to letter case, line breaks allowed)
// and a length limit; a stored note is shown whole.
class DeviceNoteEdit final : public QPlainTextEdit {
    Q_OBJECT
public:
    DeviceNoteEdit(const QString& allowed, int maxLength, QWidget* parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString& text);

private:
    CharacterFilter* m_filter;
};

} // namespace quillon
