#pragma once

#include "session/uServerInterface.h"

#include <functional>
#include <memory>
#include <string>

namespace vq {

// Makes the connection object of the back office in use. The front end installs the
// implementation (the sandbox, or the ERP client on Windows); tests install their own.
// The argument is the connector's home directory, where a sandbox keeps its work areas.
using ConnectionFactory = std::function<std::unique_ptr<IKvrConnection>(const std::string &)>;

void SetConnectionFactory(ConnectionFactory factory);

// Raises vq::Error with ClassNotRegistered when no back office is installed, as COM does
// for a component that is not registered.
std::unique_ptr<IKvrConnection> CreateServerConnection(const std::string &homeDirectory);

} // namespace vq
