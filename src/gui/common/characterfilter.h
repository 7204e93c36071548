#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace quillon {

// Keeps what the user types, pastes or drops into a box to an allowed
// character set and a length limit. Letters are admitted in either case when
// the set lists them in one (names with capitals must be possible, and the
// sets are written partly in capitals, partly in small letters). Only the
// inserted part is filtered: text put into the box by the program (a stored
// value, a drop-down choice) is left as it is, so nothing stored is cut or
// altered just by opening a window. Refused characters are dropped, the
// admitted rest of a paste goes in, and the cursor stands behind it. A
// refused key is stopped before it reaches the box, so the box's undo
// history stays whole; only a corrected paste or drop starts it anew.
class CharacterFilter final : public QObject {
    Q_OBJECT
public:
    // Whether a multi-line box takes line breaks. A one-line box never does.
    enum class LineBreaks { Refused, Kept };

    // allowed empty: every character; maxLength 0: no limit. The limit
    // applies to what the user inserts; a line edit's own maxLength is left
    // to its window.
    CharacterFilter(QLineEdit* edit, const QString& allowed, int maxLength = 0);
    CharacterFilter(QPlainTextEdit* edit, const QString& allowed, int maxLength = 0,
                    LineBreaks lineBreaks = LineBreaks::Refused);

    // Puts text into the box without filtering or cutting it.
    void setText(const QString& text);
    // Sets a line edit's text whole: its maxLength is raised first where the
    // text is longer, as the line edit would otherwise cut it.
    static void setText(QLineEdit* edit, const QString& text);

    QString allowed() const { return m_allowed; }
    int maxLength() const { return m_maxLength; }
    LineBreaks lineBreaks() const { return m_lineBreaks; }

    static bool admits(const QString& allowed, QChar c,
                       LineBreaks lineBreaks = LineBreaks::Refused);
    // The text after an edit turned `before` into `after`: the inserted part
    // keeps only admitted characters and is cut to fit maxLength. cursor gets
    // the position just behind the kept insertion; cursorHint is where the
    // box's cursor stood after the edit (-1 when unknown).
    static QString filtered(const QString& before, const QString& after, const QString& allowed,
                            int maxLength, int* cursor = nullptr, int cursorHint = -1,
                            LineBreaks lineBreaks = LineBreaks::Refused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refusesKey(const QString& text) const;
    void lineEdited(const QString& text);
    void plainChanged();

    QPointer<QLineEdit> m_line;
    QPointer<QPlainTextEdit> m_plain;
    QString m_allowed;
    int m_maxLength = 0;
    LineBreaks m_lineBreaks = LineBreaks::Refused;
    QString m_last;
    bool m_busy = false;
};

} // namespace quillon
