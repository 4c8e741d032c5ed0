#include "session/uRevisionTracking.h"

#include "session/uOrvelConnection.h"

namespace vq {

void InstallRevisionTracking(TOrvelConnection&) {}

} // namespace vq
