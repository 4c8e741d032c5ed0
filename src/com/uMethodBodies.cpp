#include "com/uMethodBodies.h"

namespace vq {

MethodBodies StandardBodies() { return MethodBodies{}; }

} // namespace vq
