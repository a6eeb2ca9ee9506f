// The sound a failed request makes.
#pragma once

namespace pphatch {

/// Sounds the beep through the handler set by SetBeepHandler, or the default
/// (the BEL character on standard error). Never throws.
void Beep();

}  // namespace pphatch
