#include "app/allowedcharsvalidator.h"

namespace quillon {

AllowedCharsValidator::AllowedCharsValidator(const QString& allowed, QObject* parent)
    : QValidator(parent), m_allowed(allowed)
{
}

bool AllowedCharsValidator::admits(QChar c) const
{
    return m_allowed.contains(c, Qt::CaseInsensitive);
}

QValidator::State AllowedCharsValidator::validate(QString& input, int&) const
{
    for (const QChar c : input)
        if (!admits(c))
            return Invalid;
    return Acceptable;
}

} // namespace quillon
