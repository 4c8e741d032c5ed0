#pragma once

namespace vq {

class TOrvelConnection;

// Makes sure the back-office database holds the import ledger and the triggers that
// stamp revision numbers; the last step of every login. Failures are raised.
void InstallRevisionTracking(TOrvelConnection& session);

} // namespace vq
