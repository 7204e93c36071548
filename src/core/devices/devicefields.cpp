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

int tracksFromText(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 0 ? n : 0;
}

} // namespace quillon::devicefields
