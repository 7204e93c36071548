#include "songs/songfields.h"

namespace quillon::songfields {

QString titleCharacters()
{
    return QStringLiteral(" abcdefGHIJKLMNOPQRSTUVWXYZÜÄÖ,.-+ß&1234567890()");
}

QString textCharacters()
{
    return QStringLiteral(" abcdefghijklmnopqrstuvwxyz1234567890.,-+äöü@()&®©");
}

QString composerCharacters()
{
    return QStringLiteral(" abcdefgHIJKLMNOPQRSTUVWXYZÜÄÖ,.-+ß1234567890&");
}

QString noteCharacters()
{
    return QStringLiteral(" abcdefghijklmnopqrstuvwxyzüäö,.-+ß&1234567890()");
}

QString styleCharacters()
{
    return QStringLiteral(" abcdefghijklmnopqrstuvwxyzäüö-+/()1234567890ß");
}

} // namespace quillon::songfields
