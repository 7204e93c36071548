#include "common/characterfilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace quillon {

CharacterFilter::CharacterFilter(QLineEdit* edit, const QString& allowed, int maxLength)
    : QObject(edit), m_line(edit), m_allowed(allowed), m_maxLength(maxLength), m_last(edit->text())
{
    // textChanged also follows the program's own setText, so it keeps the
    // reference text; textEdited reports only what the user did. The line
    // edit emits textChanged after textEdited, with the text as it was before
    // a correction made here, so the box's current text is taken instead.
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!m_busy && m_line)
            m_last = m_line->text();
    });
    connect(edit, &QLineEdit::textEdited, this, &CharacterFilter::lineEdited);
    edit->installEventFilter(this);
}

CharacterFilter::CharacterFilter(QPlainTextEdit* edit, const QString& allowed, int maxLength,
                                 LineBreaks lineBreaks)
    : QObject(edit), m_plain(edit), m_allowed(allowed), m_maxLength(maxLength),
      m_lineBreaks(lineBreaks), m_last(edit->toPlainText())
{
    connect(edit, &QPlainTextEdit::textChanged, this, &CharacterFilter::plainChanged);
    edit->installEventFilter(this);
}

bool CharacterFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers commands =
            Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (!(key->modifiers() & commands) && refusesKey(key->text()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

bool CharacterFilter::refusesKey(const QString& text) const
{
    // Only keys that would type text; Enter, Tab, Backspace and the like pass.
    // A key that types several characters, some admitted, is left to the
    // filtering of the edit, which keeps the admitted ones.
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    const LineBreaks breaks = m_plain ? m_lineBreaks : LineBreaks::Refused;
    return std::none_of(text.begin(), text.end(),
                        [this, breaks](QChar c) { return admits(m_allowed, c, breaks); });
}

bool CharacterFilter::admits(const QString& allowed, QChar c, LineBreaks lineBreaks)
{
    // Line breaks are never part of a set: whether a box takes them is its
    // own choice (one entry per line in the style file, single-line fields).
    if (c == '\r' || c == '\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
        return lineBreaks == LineBreaks::Kept;
    if (allowed.isEmpty())
        return true;
    return allowed.contains(c) || allowed.contains(c.toLower()) || allowed.contains(c.toUpper());
}

QString CharacterFilter::filtered(const QString& before, const QString& after,
                                  const QString& allowed, int maxLength, int* cursor,
                                  int cursorHint, LineBreaks lineBreaks)
{
    // The edit replaced before[prefix, size - suffix) by after[prefix, size - suffix).
    // Where the cursor is known it ends the insertion, which settles repeated
    // characters ("aa" -> "aaa").
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype suffixLimit = common;
    if (cursorHint >= 0 && cursorHint <= after.size())
        suffixLimit = std::min<qsizetype>(suffixLimit, after.size() - cursorHint);
    qsizetype suffix = 0;
    while (suffix < suffixLimit &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    qsizetype prefix = 0;
    while (prefix < common - suffix && before.at(prefix) == after.at(prefix))
        ++prefix;
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    QString kept;
    kept.reserve(inserted.size());
    for (QChar c : inserted)
        if (admits(allowed, c, lineBreaks))
            kept += c;
    const qsizetype rest = after.size() - inserted.size();
    if (maxLength > 0 && rest + kept.size() > maxLength)
        kept.truncate(std::max<qsizetype>(0, maxLength - rest));
    if (cursor)
        *cursor = int(prefix + kept.size());
    return after.left(prefix) + kept + after.right(suffix);
}

void CharacterFilter::lineEdited(const QString& text)
{
    int cursor = 0;
    const QString result = filtered(m_last, text, m_allowed, m_maxLength, &cursor,
                                    m_line->cursorPosition(), LineBreaks::Refused);
    if (result != text) {
        m_busy = true;
        m_line->setText(result);
        m_line->setCursorPosition(cursor);
        m_busy = false;
    }
    m_last = result;
}

void CharacterFilter::plainChanged()
{
    if (m_busy)
        return;
    const QString text = m_plain->toPlainText();
    int cursor = 0;
    const QString result = filtered(m_last, text, m_allowed, m_maxLength, &cursor,
                                    m_plain->textCursor().position(), m_lineBreaks);
    if (result != text) {
        m_busy = true;
        m_plain->setPlainText(result);
        QTextCursor c = m_plain->textCursor();
        c.setPosition(std::min<int>(cursor, int(result.size())));
        m_plain->setTextCursor(c);
        m_busy = false;
    }
    m_last = result;
}

void CharacterFilter::setText(const QString& text)
{
    if (m_plain) {
        m_busy = true;
        m_plain->setPlainText(text);
        m_busy = false;
        m_last = m_plain->toPlainText();
    } else if (m_line) {
        setText(m_line, text);
    }
}

void CharacterFilter::setText(QLineEdit* edit, const QString& text)
{
    if (text.size() > edit->maxLength())
        edit->setMaxLength(int(text.size()));
    edit->setText(text);
}

} // namespace quillon
