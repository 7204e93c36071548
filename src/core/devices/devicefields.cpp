#include "devices/devicefields.h"

namespace quillon::devicefields {

QString nameCharacters()
{
    return QStringLiteral("abcdefghijklmnopqrstuvwxyz\u00fc\u00e4\u00f6,.-+\u00df1234567890 ");
}

QString textCharacters()
{
    return QStringLiteral(" ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00dc\u00c4\u00d6,.-+\u00df1234567890");
}

QString noteCharacters()
{
    return textCharacters() + QStringLiteral("@\u20ac");
}

QString digitCharacters()
{
    return QStringLiteral("1234567890");
}

const QStringList& typeNames()
{
    static const QStringList names{"Digital Multitrack",
                                   "Analog Multitrack",
                                   "Harddisk",
                                   "Software Sequencer",
                                   "Hardware Sequencer",
                                   "CD/DVD Writer",
                                   "DAT",
                                   "Minidisk",
                                   "Tapedeck",
                                   "Video",
                                   "Master",
                                   "Other"};
    return names;
}

bool isAllowed(QChar c, const QString& allowed)
{
    return allowed.contains(c) || allowed.contains(c.toLower()) || allowed.contains(c.toUpper());
}

QString filtered(const QString& text, const QString& allowed, bool keepLineBreaks, int* cursor)
{
    QString result;
    result.reserve(text.size());
    int removedBeforeCursor = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if ((keepLineBreaks && lineBreak) || isAllowed(c, allowed)) {
            result += c;
        } else if (cursor && i < *cursor) {
            ++removedBeforeCursor;
        }
    }
    if (cursor)
        *cursor -= removedBeforeCursor;
    return result;
}

int tracksFromText(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 0 ? n : 0;
}

} // namespace quillon::devicefields
