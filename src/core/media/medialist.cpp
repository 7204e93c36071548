#include "media/medialist.h"

#include "common/logging.h"
#include "store/plainfile.h"

#include <QDir>

namespace quillon::media {

namespace {

const QString kTitle = QStringLiteral("Tapes, Harddisks, CD and other Mediums");

QString rule()
{
    return QString(kListRuleWidth, QLatin1Char('-')) + QLatin1Char('\n');
}

} // namespace

QString listDate(const QDate& date)
{
    // Built by hand: QDate::toString would follow no locale, but spelling the
    // fields out keeps the form obvious.
    return QStringLiteral("%1-%2-%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString listCaption(const QDate& date)
{
    return kTitle + QStringLiteral("    ") + listDate(date);
}

QString firstChars(const QString& text, int n)
{
    if (n <= 0)
        return {};
    int units = 0;
    int chars = 0;
    while (units < text.size() && chars < n) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
        ++chars;
    }
    return text.left(units);
}

QString mediaListText(const QList<Medium>& media, const QDateTime& now)
{
    if (media.isEmpty())
        return {};
    QString out;
    out += rule();
    out += kTitle + QStringLiteral("    \t\t") + listDate(now.date()) + QLatin1Char('\n');
    out += rule();
    for (const Medium& m : media) {
        // After the name stands the value of the table's second column, the
        // media type.
        out += QStringLiteral("Name/No:  ") + firstChars(m.name, kListCut) +
               QStringLiteral("  -  ") + firstChars(m.type, kListCut) + QLatin1Char('\n');
        out += QStringLiteral("Brand: ") + firstChars(m.brand, kListCut) +
               QString(7, QLatin1Char(' ')) + QStringLiteral("Serialno.:  ") +
               firstChars(m.serialNumber, kListCut) + QLatin1Char('\n');
        out += QStringLiteral("Length/Capacity:  ") + m.length + QString(5, QLatin1Char(' ')) +
               QStringLiteral("deleted:  ") +
               (m.deleted == QLatin1String("1") ? QStringLiteral("YES") : QStringLiteral("NO")) +
               QLatin1Char('\n');
        out += rule();
    }
    return out;
}

bool saveMediaList(const QString& path, const QString& text, QString* error)
{
    // The list lives in the data folder: replaced as a plain file, never
    // written through a link planted in its place.
    const QString reason = plainfile::write(path, text.toUtf8());
    if (!reason.isEmpty()) {
        qCWarning(lcMedia) << "cannot write media list" << path << reason;
        if (error)
            *error = QStringLiteral("The media list could not be written to\r%1\r(%2).")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    qCDebug(lcMedia) << "media list written to" << path;
    return true;
}

} // namespace quillon::media
