#include "session/uRevisionTracking.h"

#include "session/uOrvelConnection.h"
#include "session/uServerCalls.h"

#include <functional>

namespace vq {
namespace {

const char *const CreateLedger =
    "if not exists (select * from dbo.sysobjects where id = object_id(N'ZEV')) CREATE TABLE ZEV "
    "(   ORIGIN INTEGER,   ORIGINID INTEGER,   KEYCODE VARCHAR(50),   CONSTRAINT ZEV_PK PRIMARY "
    "KEY (ORIGIN, ORIGINID) )";
const char *const CreateLedgerIndex = "CREATE INDEX ZEV_KEYCODE ON ZEV (ORIGIN, KEYCODE)";

// The body every trigger shares: take the next number, give one to each id of the cursor,
// and leave REVNUM one above the last number given. A NULL in REVNUM counts as 1.
std::string RevisionBlock(const std::string &cursor, const std::string &cursorDeclaration,
                          const std::string &stamp) {
  return "DECLARE @RevNumber INT, @ID INT\n"
         "IF NOT EXISTS (SELECT 1 FROM REVNUM)\n"
         "BEGIN\n"
         "insert into REVNUM (NUM) values (1)\n"
         "SET @RevNumber = 1\n"
         "END\n"
         "ELSE\n"
         "SET @RevNumber = (select isnull(NUM,1) as NUM FROM REVNUM)\n"
         "SELECT @RevNumber = ISNULL(MAX(NUM), 1) FROM REVNUM\n" +
         cursorDeclaration + "OPEN " + cursor + "\nFETCH NEXT FROM " + cursor +
         " INTO @ID\n"
         "WHILE @@FETCH_STATUS = 0\n"
         "BEGIN\n" +
         stamp +
         "\nSET @RevNumber = @RevNumber + 1\n"
         "FETCH NEXT FROM " +
         cursor +
         " INTO @ID\n"
         "END\n"
         "CLOSE " +
         cursor + "\nDEALLOCATE " + cursor + "\nUPDATE REVNUM SET NUM = @RevNumber\n";
}

std::string Cursor(const std::string &cursor, const std::string &rows) {
  return "DECLARE " + cursor + " CURSOR LOCAL FOR " + rows + "\n";
}

RevisionTrigger Trigger(const std::string &name, const std::string &table,
                        const std::string &events, const std::string &guard,
                        const std::string &body, const std::string &stampedTable = {}) {
  return RevisionTrigger{name, stampedTable,
                         "CREATE TRIGGER " + name + " ON " + table + " FOR " + events +
                             " AS\nBEGIN\nIF " + guard + "\nBEGIN\n" + body + "END\nEND"};
}

// A trigger that walks one row set and stamps one id at a time.
RevisionTrigger Simple(const std::string &name, const std::string &table, const std::string &events,
                       const std::string &guard, const std::string &rows, const std::string &stamp,
                       const std::string &cursorTable, const std::string &stampedTable = {}) {
  const std::string cursor = "REV_CRS_" + cursorTable;
  return Trigger(name, table, events, guard, RevisionBlock(cursor, Cursor(cursor, rows), stamp),
                 stampedTable);
}

// A trigger that walks the deleted rows when some qualify, else the inserted rows;
// @cnt counts the qualifying deleted rows.
RevisionTrigger DeletedOrInserted(const std::string &name, const std::string &table,
                                  const std::string &guard, const std::string &deletedQualify,
                                  const std::string &column,
                                  const std::function<std::string(const std::string &)> &stampOf) {
  const std::string cursor = "REV_CRS_" + table;
  const std::string choose = "DECLARE @cnt INT\n"
                             "SELECT @cnt = COUNT(*) FROM deleted " +
                             deletedQualify +
                             "\n"
                             "IF @cnt > 0\n" +
                             Cursor(cursor, "SELECT DISTINCT " + column + " FROM deleted") +
                             "ELSE\n" +
                             Cursor(cursor, "SELECT DISTINCT " + column + " FROM inserted");
  const std::string stamp = "IF @cnt > 0\n" + stampOf("deleted") + "\nELSE\n" + stampOf("inserted");
  return Trigger(name, table, "INSERT, UPDATE, DELETE", guard,
                 RevisionBlock(cursor, choose, stamp));
}

} // namespace

const std::vector<RevisionTrigger> &RevisionTriggers() {
  static const std::vector<RevisionTrigger> triggers = [] {
    const std::string ownGuard = "(NOT EXISTS (SELECT 1 FROM deleted)) OR (NOT UPDATE(REVNUM))";
    const auto stampItemOf = [](const std::string &column) {
      return "UPDATE INI SET REVNUM = @RevNumber WHERE INI.ID IN (SELECT inserted." + column +
             " FROM inserted WHERE inserted." + column + " = @ID)";
    };
    const auto stampAccountsOf = [](const std::string &accounts) {
      return "UPDATE " + accounts + " SET REVNUM = @RevNumber WHERE " + accounts +
             ".TRDID IN (SELECT inserted.ID FROM inserted WHERE inserted.ID = @ID)";
    };
    return std::vector<RevisionTrigger>{
        Simple("Customer_Upd", "CUA", "INSERT, UPDATE", ownGuard, "SELECT ID FROM INSERTED",
               "UPDATE CUA SET REVNUM = @RevNumber WHERE ID = @ID", "CUA", "CUA"),
        Simple("Trader_Upd", "TRD", "UPDATE",
               "EXISTS(SELECT 1 FROM inserted inner join CUA on inserted.ID=CUA.TRDID)",
               "SELECT ID FROM INSERTED", stampAccountsOf("CUA"), "TRD"),
        Simple("Supplier_Upd", "SUA", "INSERT, UPDATE", ownGuard, "SELECT ID FROM INSERTED",
               "UPDATE SUA SET REVNUM = @RevNumber WHERE ID = @ID", "SUA", "SUA"),
        Simple("TraderSua_Upd", "TRD", "UPDATE",
               "EXISTS(SELECT 1 FROM inserted inner join SUA on inserted.ID=SUA.TRDID)",
               "SELECT ID FROM INSERTED", stampAccountsOf("SUA"), "TRD"),
        Simple("Items_Upd", "INI", "INSERT, UPDATE", ownGuard, "SELECT ID FROM INSERTED",
               "UPDATE INI SET REVNUM = @RevNumber WHERE ID = @ID", "INI", "INI"),
        Simple("ItemsPrices_Upd", "IIF", "UPDATE", "1 = 1", "SELECT ITEID FROM INSERTED",
               stampItemOf("ITEID"), "IIF"),
        Simple("PllItems_Upd", "PLI", "INSERT, UPDATE", "1 = 1", "SELECT ITEID FROM INSERTED",
               stampItemOf("ITEID"), "PLI"),
        Simple("Barcodes_Upd", "AIC", "INSERT, UPDATE", "1 = 1",
               "SELECT DISTINCT INIID FROM INSERTED", stampItemOf("INIID"), "AIC"),
        DeletedOrInserted(
            "ItemUDA_Upd", "UDA",
            "EXISTS(SELECT 1 FROM deleted WHERE DOMAINTYPE=5) OR EXISTS(SELECT 1 FROM inserted "
            "WHERE DOMAINTYPE=5)",
            "WHERE DOMAINTYPE=5", "DOMAINID",
            [](const std::string &rows) {
              return "UPDATE INI SET REVNUM = @RevNumber WHERE INI.ID IN (SELECT " + rows +
                     ".DOMAINID FROM " + rows + " WHERE " + rows + ".DOMAINTYPE = 5 AND " + rows +
                     ".DOMAINID = @ID)";
            }),
        Simple("ItemsCategories_Upd", "IIO", "UPDATE", "UPDATE(INCIDRETAIL)",
               "SELECT INI.ID FROM INSERTED LEFT JOIN INI ON INSERTED.COMID=INI.COMID LEFT JOIN "
               "ICT ON INSERTED.ID=ICT.IIOID AND INI.ID=ICT.INIID WHERE ISNULL(ICT.INIID, 0)=0",
               "UPDATE INI SET REVNUM = @RevNumber WHERE ID = @ID", "IIO"),
        DeletedOrInserted(
            "ItemsSpecCategories_Upd", "ICT",
            "UPDATE(INCIDRETAIL) AND (EXISTS(SELECT 1 FROM deleted INNER JOIN INI ON "
            "deleted.INIID=INI.ID) OR EXISTS(SELECT 1 FROM inserted INNER JOIN INI ON "
            "inserted.INIID=INI.ID))",
            "INNER JOIN INI ON deleted.INIID=INI.ID", "INIID",
            [](const std::string &rows) {
              return "UPDATE INI SET REVNUM = @RevNumber WHERE INI.ID IN (SELECT " + rows +
                     ".INIID FROM " + rows + " WHERE " + rows + ".INIID = @ID)";
            }),
    };
  }();
  return triggers;
}

bool ObjectExists(IKvrConnection &server, DatabaseObjectKind kind, const std::string &name) {
  const std::string sql = kind == DatabaseObjectKind::Trigger
                              ? "SELECT 1 FROM dbo.sysobjects WHERE id = OBJECT_ID(N'" + name +
                                    "') AND OBJECTPROPERTY(id, N'ISTRIGGER') = 1"
                              : "SELECT name FROM dbo.sysindexes WHERE name = '" + name + "'";
  return !OpenSql(server, sql).IsEmpty();
}

void InstallRevisionTracking(TOrvelConnection &session) {
  IKvrConnection &server = session.Server();
  ExecSql(server, CreateLedger);
  if (!ObjectExists(server, DatabaseObjectKind::Index, "ZEV_KEYCODE"))
    ExecSql(server, CreateLedgerIndex);
  for (const RevisionTrigger &trigger : RevisionTriggers()) {
    if (ObjectExists(server, DatabaseObjectKind::Trigger, trigger.Name)) continue;
    ExecSql(server, trigger.CreateStatement);
    // Fires the new trigger on every row, so that existing records get a number at once.
    if (!trigger.Table.empty()) ExecSql(server, "update " + trigger.Table + " set REMARKS=REMARKS");
  }
}

} // namespace vq
