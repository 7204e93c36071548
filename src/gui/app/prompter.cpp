#include "app/prompter.h"

namespace quillon {

Prompter::~Prompter() = default;

} // namespace quillon
