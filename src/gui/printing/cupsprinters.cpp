#include "printing/cupsprinters.h"

#include "common/logging.h"

#include <cerrno>
#include <cstring>
#include <cups/cups.h>

namespace quillon {

namespace {

QString destName(const cups_dest_t& dest)
{
    QString name = QString::fromLocal8Bit(dest.name);
    if (dest.instance)
        name += QLatin1Char('/') + QString::fromLocal8Bit(dest.instance);
    return name;
}

// Owns the destination array cupsGetDests2 hands out.
class DestList final {
public:
    DestList() { m_count = cupsGetDests2(CUPS_HTTP_DEFAULT, &m_dests); }
    ~DestList() { cupsFreeDests(m_count, m_dests); }
    DestList(const DestList&) = delete;
    DestList& operator=(const DestList&) = delete;
    int count() const { return m_count; }
    cups_dest_t* data() { return m_dests; }
    cups_dest_t& at(int i) { return m_dests[i]; }

private:
    cups_dest_t* m_dests = nullptr;
    int m_count = 0;
};

} // namespace

QStringList CupsPrinters::printerNames()
{
    QStringList names;
    DestList dests;
    for (int i = 0; i < dests.count(); ++i)
        names << destName(dests.at(i));
    if (dests.count() == 0 && cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST)
        m_lastError = QString::fromLocal8Bit(cupsLastErrorString());
    return names;
}

QString CupsPrinters::defaultPrinterName()
{
    DestList dests;
    for (int i = 0; i < dests.count(); ++i)
        if (dests.at(i).is_default)
            return destName(dests.at(i));
    return {};
}

bool CupsPrinters::setDefaultPrinterByName(const QString& name)
{
    m_lastError.clear();
    if (name.isEmpty()) {
        m_lastError = QStringLiteral("no printer named");
        return false;
    }
    const int slash = name.indexOf(QLatin1Char('/'));
    const QByteArray printer = (slash < 0 ? name : name.left(slash)).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : name.mid(slash + 1).toLocal8Bit();

    DestList dests;
    cups_dest_t* chosen =
        cupsGetDest(printer.constData(), instance.isEmpty() ? nullptr : instance.constData(),
                    dests.count(), dests.data());
    if (!chosen) {
        m_lastError = QStringLiteral("no such printer: %1").arg(name);
        qCWarning(lcPrinting) << "cannot set default printer:" << m_lastError;
        return false;
    }
    for (int i = 0; i < dests.count(); ++i)
        dests.at(i).is_default = 0;
    chosen->is_default = 1;
    // Writes the user's lpoptions; the same as "lpoptions -d name".
    if (cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count(), dests.data()) != 0) {
        // Mostly an lpoptions file that cannot be written; CUPS leaves errno.
        m_lastError = QStringLiteral("cannot store the default printer: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno)));
        qCWarning(lcPrinting) << "cupsSetDests2 failed:" << m_lastError;
        return false;
    }
    qCInfo(lcPrinting) << "default printer is now" << name;
    return true;
}

} // namespace quillon
