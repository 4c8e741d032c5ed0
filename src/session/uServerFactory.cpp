#include "session/uServerFactory.h"

#include "core/uError.h"

namespace vq {
namespace {
ConnectionFactory &InstalledFactory() {
  static ConnectionFactory factory;
  return factory;
}
} // namespace

void SetConnectionFactory(ConnectionFactory factory) { InstalledFactory() = std::move(factory); }

std::unique_ptr<IKvrConnection> CreateServerConnection(const std::string &homeDirectory) {
  const ConnectionFactory &factory = InstalledFactory();
  if (!factory) throw Error("Class not registered", ClassNotRegistered);
  return factory(homeDirectory);
}

} // namespace vq
