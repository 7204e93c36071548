#include "tempdatafolder.h"

#include "store/datainstaller.h"

namespace quillon::test {

TempDataFolder::TempDataFolder(bool install) : m_folder(m_dir.path() + "/data", m_dir.path())
{
    if (install)
        ensureDataFolder(m_folder);
}

} // namespace quillon::test
