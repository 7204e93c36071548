#include "store/settings.h"

#include "store/serveraddress.h"
#include "store/songconstants.h"

#include <cmath>
#include <QSettings>

namespace quillon {

namespace {
const QString kSection = QStringLiteral("Settings/");
const QString kApplication = QStringLiteral("Quillon05");
} // namespace

Settings::Settings()
    : m_store(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kApplication,
                                          kApplication))
{
}

Settings::Settings(const QString& iniPath)
    : m_store(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

Settings::~Settings() = default;

QString Settings::text(const QString& key, const QString& defaultValue) const
{
    const QVariant v = m_store->value(kSection + key);
    if (!v.isValid())
        return defaultValue;
    // A hand-edited file may hold a list ("a, b"); keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(", ");
    return v.toString();
}

void Settings::setText(const QString& key, const QString& value)
{
    m_store->setValue(kSection + key, value);
}

bool Settings::contains(const QString& key) const
{
    return m_store->contains(kSection + key);
}

void Settings::remove(const QString& key)
{
    m_store->remove(kSection + key);
}

void Settings::setCatalogueServer(const ServerAddress& server)
{
    if (server.isValid())
        setText(QStringLiteral("CatalogueServer"), server.withoutPassword());
    else
        remove(QStringLiteral("CatalogueServer"));
}

bool Settings::flag(const QString& key, bool defaultValue) const
{
    if (!contains(key))
        return defaultValue;
    bool ok = false;
    const double v = text(key).trimmed().toDouble(&ok);
    return ok && v == 1.0;
}

void Settings::setFlag(const QString& key, bool on)
{
    setText(key, on ? "1" : "0");
}

float Settings::number(const QString& key, float defaultValue) const
{
    if (!contains(key))
        return defaultValue;
    bool ok = false;
    const float v = text(key).trimmed().toFloat(&ok);
    return ok && std::isfinite(v) ? v : defaultValue;
}

QString Settings::numberText(double value)
{
    const float f = float(value);
    if (std::isfinite(f) && f == std::floor(f) && std::fabs(f) < 1e15f)
        return QString::number(qint64(f));
    QString s = QString::number(double(f), 'f', 6);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.'))
        s.chop(1);
    return s;
}

void Settings::setNumber(const QString& key, double value)
{
    setText(key, numberText(value));
}

Placement Settings::placement(const QString& prefix, const Placement& defaults) const
{
    return {number(prefix + "Left", float(defaults.left)),
            number(prefix + "Top", float(defaults.top)),
            number(prefix + "Width", float(defaults.width)),
            number(prefix + "Height", float(defaults.height))};
}

void Settings::setPlacement(const QString& prefix, const Placement& p)
{
    setNumber(prefix + "Left", p.left);
    setNumber(prefix + "Top", p.top);
    setNumber(prefix + "Width", p.width);
    setNumber(prefix + "Height", p.height);
}

QString Settings::recentSong() const
{
    return text("RecentSong", kNoSongLoaded);
}

void Settings::setRecentSong(const QString& title)
{
    // Not synced here: writing the file durably costs several disk flushes,
    // too slow for every song load. The store writes itself from the event
    // loop right after the change, and at exit.
    setText("RecentSong", title);
}

void Settings::sync()
{
    m_store->sync();
}

QString Settings::fileName() const
{
    return m_store->fileName();
}

} // namespace quillon
