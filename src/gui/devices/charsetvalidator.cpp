#include "devices/charsetvalidator.h"

#include "devices/devicefields.h"

namespace quillon {

CharSetValidator::CharSetValidator(const QString& allowed, QObject* parent)
    : QValidator(parent), m_allowed(allowed)
{
}

QValidator::State CharSetValidator::validate(QString& input, int& pos) const
{
    input = devicefields::filtered(input, m_allowed, false, &pos);
    return Acceptable;
}

void CharSetValidator::fixup(QString& input) const
{
    input = devicefields::filtered(input, m_allowed);
}

} // namespace quillon
