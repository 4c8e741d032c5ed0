#pragma once

#include <string>
#include <vector>

namespace vq {

class IKvrConnection;
class TOrvelConnection;

enum class DatabaseObjectKind { Trigger = 1, Index = 2 };

// True when the back-office database holds a trigger or an index of that name. The name
// goes into the statement as it is: only the connector's own constant names are passed.
bool ObjectExists(IKvrConnection &server, DatabaseObjectKind kind, const std::string &name);

struct RevisionTrigger {
  std::string Name;
  std::string Table; // whose records the creation stamps at once, or empty
  std::string CreateStatement;
};

// The triggers that stamp revision numbers, in the order they are installed.
const std::vector<RevisionTrigger> &RevisionTriggers();

// Makes sure the back-office database holds the import ledger ZEV, its index and the
// revision triggers, creating what is missing; the last step of every login. A failing
// statement raises, and what was created before it stays.
void InstallRevisionTracking(TOrvelConnection &session);

} // namespace vq
