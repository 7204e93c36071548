#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace quillon {

// Applies an allowed character set and a length limit to what the user types
// or pastes into a box. Letters are admitted in either case when the set
// lists them in one (names with capitals must be possible). Only the typed or
// pasted part is filtered: text put into the box by the program (a stored
// value, a drop-down choice) is left as it is, so nothing stored is cut or
// altered just by opening a window.
class SongInputFilter final : public QObject {
    Q_OBJECT
public:
    // allowed empty: every character; maxLength 0: no limit.
    SongInputFilter(QLineEdit* edit, const QString& allowed, int maxLength);
    SongInputFilter(QPlainTextEdit* edit, const QString& allowed, int maxLength);

    // Puts text into a multi-line box without filtering it.
    void setPlainText(const QString& text);

    static bool admits(const QString& allowed, QChar c);
    // The text after an edit turned `before` into `after`: the inserted part
    // keeps only admitted characters and is cut to fit maxLength. cursor gets
    // the position just behind the kept insertion; cursorHint is where the
    // box's cursor stood after the edit (-1 when unknown).
    static QString filtered(const QString& before, const QString& after, const QString& allowed,
                            int maxLength, int* cursor = nullptr, int cursorHint = -1);

private:
    void lineEdited(const QString& text);
    void plainChanged();

    QPointer<QLineEdit> m_line;
    QPointer<QPlainTextEdit> m_plain;
    QString m_allowed;
    int m_maxLength = 0;
    QString m_last;
    bool m_busy = false;
};

} // namespace quillon
