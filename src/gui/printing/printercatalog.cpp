#include "printing/printercatalog.h"

namespace quillon {

PrinterCatalog::~PrinterCatalog() = default;

} // namespace quillon
