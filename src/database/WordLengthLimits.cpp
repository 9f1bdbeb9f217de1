#include "WordLengthLimits.h"

namespace mz {

TWordLengthLimits WordLengthLimits;

} // namespace mz
