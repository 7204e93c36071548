#include "media/mediatypes.h"

namespace quillon::media {

const QStringList& mediaTypes()
{
    static const QStringList types{
        "1 - Harddisk",  "2 - Analog Tape", "3 - Digital Tape", "4 - CDR/CDRW - DVD/DVDRW",
        "5 - DAT Tape",  "6 - Minidisk",    "7 - Datadisk",     "8 - Cassette",
        "9 - Videotape", "10 - Other"};
    return types;
}

int typeNumber(const QString& typeText)
{
    int pos = 0;
    while (pos < typeText.size() && typeText.at(pos).isSpace())
        ++pos;
    qint64 value = 0;
    bool any = false;
    for (; pos < typeText.size(); ++pos) {
        const QChar c = typeText.at(pos);
        if (c < '0' || c > '9')
            break;
        any = true;
        value = value * 10 + (c.unicode() - '0');
        if (value > 1000000)
            return 1000000; // far outside the list; spares an overflow
    }
    return any ? int(value) : 0;
}

int iconNumber(int type, bool separated)
{
    if (type < 1 || type > kTypeCount)
        type = kOtherType;
    return separated ? type + kSeparatedOffset : type;
}

} // namespace quillon::media
