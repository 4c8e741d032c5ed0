// The item export on the sandbox with many items of two barcodes each: the time of the
// whole call and the part spent in the back office's statements.
#include "com/dBackOfficeConnector.h"
#include "sandbox/uSandboxServer.h"
#include "sandbox/uWorkArea.h"
#include "session/uServerFactory.h"
#include "uSandboxHome.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double StatementSeconds = 0;

// The sandbox's application server, timing the statements it runs.
class TimedAppServer : public vq::IAppServer {
public:
  explicit TimedAppServer(vq::IAppServer &inner) : inner_(inner) {}
  void WorkAreaConnection(const std::string &w, const std::string &s,
                          const std::string &o) override {
    inner_.WorkAreaConnection(w, s, o);
  }
  int32_t ApplicationLogin(int32_t c, int32_t b, vq::TDateTime d, const std::string &u,
                           const std::string &p, int32_t f) override {
    return inner_.ApplicationLogin(c, b, d, u, p, f);
  }
  vq::Value Call(const std::string &name, const std::vector<vq::Value> &args) override {
    const auto start = Clock::now();
    vq::Value result = inner_.Call(name, args);
    if (name == "OpenSQL" || name == "ExecSQL")
      StatementSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    return result;
  }
  void StartTransaction() override { inner_.StartTransaction(); }
  void Commit() override { inner_.Commit(); }
  void Rollback() override { inner_.Rollback(); }
  std::unique_ptr<vq::IBusinessObject> CreateBO(const std::string &name) override {
    return inner_.CreateBO(name);
  }

private:
  vq::IAppServer &inner_;
};

class TimedConnection : public vq::IKvrConnection {
public:
  explicit TimedConnection(std::unique_ptr<vq::IKvrConnection> inner) : inner_(std::move(inner)) {}
  void SetConnected(bool connected) override {
    inner_->SetConnected(connected);
    server_.reset();
  }
  bool Connected() override { return inner_->Connected(); }
  void SetServerGuid(const std::string &guid) override { inner_->SetServerGuid(guid); }
  void SetServerName(const std::string &name) override { inner_->SetServerName(name); }
  std::string ServerName() override { return inner_->ServerName(); }
  void SetClientIdentity(int32_t a, const std::string &v, const std::string &o) override {
    inner_->SetClientIdentity(a, v, o);
  }
  vq::IAppServer &AppServer() override {
    if (!server_) server_ = std::make_unique<TimedAppServer>(inner_->AppServer());
    return *server_;
  }
  vq::RecordSet NewRecordSet() override { return inner_->NewRecordSet(); }

private:
  std::unique_ptr<vq::IKvrConnection> inner_;
  std::unique_ptr<TimedAppServer> server_;
};

// A demo home whose company has `count` more items for the POS, with two barcodes each.
std::filesystem::path HomeWithItems(int64_t count) {
  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("vq-bench-items-" + std::to_string(count));
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  vq::cli::CreateSandboxHome(home, true);
  vq::sandbox::Database db(vq::sandbox::WorkAreaPath(home, "DEMO"));
  const std::string n = std::to_string(count);
  db.Exec("WITH N(I) AS (SELECT 1 UNION ALL SELECT I+1 FROM N WHERE I<" + n +
          ") "
          "INSERT INTO INI (ID, COMID, ABBREVIATION, NAME, IICID, MEUIDBASIC, DISABLED, "
          "UPDATEMERIVO, UPDATEEXTERNALSYS, REVNUM) SELECT 1000+I, 1, 'B'||(100000+I), "
          "'Είδος '||I, 2, 1, 0, 1, 0, 100+I FROM N");
  db.Exec("INSERT INTO IIF (ITEID, FYEID, RETAILPRICE, GROSSPRICE, DISCOUNT) "
          "SELECT ID, 1, 2.5, 2.0, 0 FROM INI WHERE ID>1000");
  db.Exec("INSERT INTO AIC (COMID, INIID, ALTERNATECODE, CODEDESCRIPTION, ISBARCODE) "
          "SELECT 1, ID, '52'||ID, 'Κωδικός', 1 FROM INI WHERE ID>1000 UNION ALL "
          "SELECT 1, ID, '53'||ID, 'Κωδικός', 3 FROM INI WHERE ID>1000");
  return home;
}

void ItemExport(benchmark::State &state) {
  const std::filesystem::path home = HomeWithItems(state.range(0));
  vq::SetConnectionFactory([](const std::string &dir) -> std::unique_ptr<vq::IKvrConnection> {
    return std::make_unique<TimedConnection>(vq::sandbox::MakeSandboxConnection(dir));
  });
  vq::TBackOfficeConnector connector(home.string());
  double statements = 0, total = 0;
  size_t size = 0;
  for (auto _ : state) {
    StatementSeconds = 0;
    int32_t code = -1;
    std::string message, value;
    const auto start = Clock::now();
    connector.GetItems(0, "", code, message, value);
    total += std::chrono::duration<double>(Clock::now() - start).count();
    statements += StatementSeconds;
    if (code != 0) state.SkipWithError(message.c_str());
    size = value.size();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["statements_s"] = statements / runs;
  state.counters["connector_s"] = (total - statements) / runs;
  state.counters["document_MB"] = static_cast<double>(size) / 1e6;
  vq::SetConnectionFactory(nullptr);
  std::filesystem::remove_all(home);
}

BENCHMARK(ItemExport)->Arg(10000)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
