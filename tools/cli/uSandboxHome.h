#pragma once

#include <filesystem>
#include <string>

namespace vq::cli {

// The work area "sandbox init" makes: the demo company, or the schema with one company.
std::string SandboxWorkAreaName(bool demo);

// Makes DIR a connector home: a sandbox work area and a BackOfficeParams.ini that connects
// to it, with one configured POS "POS1". Fails without touching an existing work area or
// settings file.
void CreateSandboxHome(const std::filesystem::path &dir, bool demo);

} // namespace vq::cli
