#include "pos/uPosInfo.h"

#include "core/uError.h"
#include "core/uText.h"
#include "documents/uXml.h"
#include "session/uServerCalls.h"
#include "settings/uPosSettings.h"

namespace vq {
namespace {

IKvrConnection &Server(TConnectorState &state) {
  if (!state.Session) throw Error("No back-office session is open");
  return state.Session->Server();
}

int32_t Company(TConnectorState &state) { return state.Session->COMID; }

// The ID of the first row, or nothing.
std::optional<int32_t> FirstId(TConnectorState &state, std::string_view sql,
                               const std::vector<Value> &values) {
  RecordSet rows = OpenSql(Server(state), sql, values);
  if (rows.IsEmpty()) return std::nullopt;
  return rows.Field(rows.Fields().front().Name).AsInt32();
}

RecordSet MappingTable(const std::vector<std::pair<const char *, FieldType>> &fields) {
  RecordSet table;
  for (const auto &[name, type] : fields)
    table.AddFieldDef(name, type, type == FieldType::Text ? 255 : 0);
  table.CreateDataSet();
  return table;
}

// The POS's code: the key after its first underscore, further underscores kept.
std::string CodeOf(const std::string &key) { return key.substr(key.find('_') + 1); }

std::string ValueOf(const std::vector<IniEntry> &section, std::string_view key) {
  for (const IniEntry &entry : section)
    if (SameTextIgnoringCase(entry.Key, key)) return entry.Value;
  return {};
}

} // namespace

const PosConfig &PosInfo::First() const {
  if (Items.empty()) throw Error("List index out of bounds (0): the POS info lists no POS");
  return Items.front();
}

PosInfo ParsePosInfo(std::string_view text) {
  const XmlDocument document = XmlDocument::Parse(text);
  const XmlNode root = document.Root();
  if (std::string_view(root.name()) != "Pos")
    throw Error("The POS info has the document element " + std::string(root.name()) +
                " instead of Pos");
  PosInfo info;
  const XmlNode items = Child(root, "PosItems");
  for (int i = 0; i < CountChildren(items, "rConfigPos"); ++i) {
    const XmlNode pos = ChildAt(items, "rConfigPos", i);
    PosConfig config;
    config.Name = ChildText(pos, "Name").value_or("");
    config.IsActive = SameTextIgnoringCase(ChildText(pos, "IsActive").value_or(""), "true");
    info.Items.push_back(std::move(config));
  }
  return info;
}

void ReadPosSection(TConnectorState &state, const std::string &posName) {
  if (!state.Settings) throw Error("The settings file is not open");
  state.Pos = ReadPosParams(*state.Settings, posName, state.ExtApplicationID);
  state.Global.BraAbbr = state.Pos.BraAbbr;
  state.Global.WarAbbr = state.Pos.WarAbbr;
  state.Global.ScoAbbr = state.Pos.ScoAbbr;
}

int32_t ResolvePosBranch(TConnectorState &state) {
  const auto id =
      FirstId(state, "SELECT ID FROM BRA WHERE BRA.COMID=:0 and BRA.ABBREVIATION=:BraAbbr",
              {Value(Company(state)), Value(state.Pos.BraAbbr)});
  if (!id) return 0;
  state.PosBranchId = *id;
  return *id;
}

int32_t ResolvePosWarehouse(TConnectorState &state) {
  const auto id =
      FirstId(state,
              "SELECT WAR.ID FROM WAR left join BRA on WAR.BRAID=BRA.ID where "
              "BRA.COMID=:0 and BRA.ID=:1 and WAR.ABBREVIATION=:3",
              {Value(Company(state)), Value(state.PosBranchId), Value(state.Pos.WarAbbr)});
  if (!id) return 0;
  state.PosWarehouseId = *id;
  return *id;
}

int32_t ResolvePosStore(TConnectorState &state) {
  const auto id = FirstId(state,
                          "SELECT SCO.ID FROM SCO left join WAR on SCO.WARID=WAR.ID left join BRA "
                          "on WAR.BRAID=BRA.ID where BRA.COMID=:0 and BRA.ID=:1 and WAR.ID=:3 and "
                          "SCO.ABBREVIATION=:4",
                          {Value(Company(state)), Value(state.PosBranchId),
                           Value(state.PosWarehouseId), Value(state.Pos.ScoAbbr)});
  if (!id) return 0;
  state.PosStoreId = *id;
  return *id;
}

void SelectStore(TConnectorState &state, int32_t storeId) {
  RecordSet rows = OpenSql(Server(state),
                           "SELECT SCO.ID SCOID, WAR.ID WARID, BRA.ID BRAID FROM SCO left join WAR "
                           "on SCO.WARID=WAR.ID left join BRA on WAR.BRAID=BRA.ID where "
                           "BRA.COMID=:0 and SCO.ID=:1 and BRA.ABBREVIATION=:BraAbbr",
                           {Value(Company(state)), Value(storeId), Value(state.Pos.BraAbbr)});
  if (!rows.IsEmpty() && rows.Field("SCOID").AsInteger() == storeId) {
    state.PosStoreId = rows.Field("SCOID").AsInt32();
    state.PosWarehouseId = rows.Field("WARID").AsInt32();
    state.PosBranchId = rows.Field("BRAID").AsInt32();
    return;
  }
  ResolvePosBranch(state);
  ResolvePosWarehouse(state);
  ResolvePosStore(state);
}

PosIdLists BuildPosMappings(TConnectorState &state, const PosInfo &info) {
  PosIdLists lists;
  state.DocTypeMap = MappingTable({{"POSNAME", FieldType::Text},
                                   {"SCOID", FieldType::Integer},
                                   {"OTYPE", FieldType::Text},
                                   {"CTYPE", FieldType::Text},
                                   {"IVTID", FieldType::Integer}});
  state.FundMap = MappingTable({{"POSNAME", FieldType::Text},
                                {"SCOID", FieldType::Integer},
                                {"OFUND", FieldType::Text},
                                {"CFUND", FieldType::Text},
                                {"FUAID", FieldType::Integer},
                                {"BRAID", FieldType::Integer}});
  state.PayMethodMap = MappingTable({{"POSNAME", FieldType::Text},
                                     {"SCOID", FieldType::Integer},
                                     {"OPAY", FieldType::Text},
                                     {"CPAY", FieldType::Text},
                                     {"UPWID", FieldType::Integer}});
  if (!state.DocTypeMap.Active() || !state.FundMap.Active() || !state.PayMethodMap.Active())
    return lists;

  IKvrConnection &server = Server(state);
  const Value company(Company(state));
  RecordSet stores = OpenSql(server,
                             "SELECT SCO.ID, BRA.ID BRAID, SCO.ABBREVIATION SCOABBR, "
                             "WAR.ABBREVIATION WARABBR, BRA.ABBREVIATION BRAABBR FROM SCO LEFT "
                             "JOIN WAR ON SCO.WARID=WAR.ID LEFT JOIN BRA ON WAR.BRAID=BRA.ID "
                             "WHERE BRA.COMID=:0",
                             {company});
  RecordSet docTypes = OpenSql(server,
                               "SELECT ID, ABBREVIATION FROM IVT WHERE ( SELECT ISNULL(DISABLED, "
                               "0) FROM IVC WHERE DTPID=IVT.ID AND COMID=:0 )<>1 ORDER BY "
                               "ABBREVIATION",
                               {company});
  RecordSet funds = OpenSql(
      server, "SELECT ID, ABBREVIATION, BRAID FROM FUA WHERE COMID=:0 ORDER BY ABBREVIATION",
      {company});
  RecordSet payMethods = OpenSql(server, "SELECT ID, NAME FROM UPW ORDER BY NAME");

  for (const PosConfig &pos : info.Items) {
    const std::vector<IniEntry> section = state.Settings->ReadSectionValues(pos.Name);
    Value storeId(0);
    Value branchId(0);
    if (stores.Locate("BRAABBR;WARABBR;SCOABBR",
                      {Value(ValueOf(section, BraAbbrKey)), Value(ValueOf(section, WarAbbrKey)),
                       Value(ValueOf(section, ScoAbbrKey))})) {
      storeId = stores.Field("ID");
      branchId = stores.Field("BRAID");
      lists.StoreIds += std::to_string(storeId.AsInteger()) + ",";
    }
    for (const IniEntry &entry : section) {
      if (entry.Key.find(InvoiceTypePrefix) != std::string::npos) {
        RecordSet &map = state.DocTypeMap;
        map.Append();
        map.SetField("POSNAME", Value(pos.Name));
        map.SetField("SCOID", storeId);
        map.SetField("OTYPE", Value(CodeOf(entry.Key)));
        map.SetField("CTYPE", Value(entry.Value));
        if (docTypes.Locate("ABBREVIATION", {Value(entry.Value)})) {
          const std::string id = std::to_string(docTypes.Field("ID").AsInteger());
          map.SetField("IVTID", docTypes.Field("ID"));
          if (("," + lists.DocTypeIds).find("," + id + ",") == std::string::npos)
            lists.DocTypeIds += id + ",";
        }
        map.Post();
      }
      if (entry.Key.find(TenderTypePrefix) != std::string::npos) {
        RecordSet &map = state.FundMap;
        map.Append();
        map.SetField("POSNAME", Value(pos.Name));
        map.SetField("SCOID", storeId);
        map.SetField("OFUND", Value(CodeOf(entry.Key)));
        map.SetField("CFUND", Value(entry.Value));
        if (funds.Locate("ABBREVIATION;BRAID", {Value(entry.Value), branchId})) {
          map.SetField("FUAID", funds.Field("ID"));
          map.SetField("BRAID", funds.Field("BRAID"));
        }
        map.Post();
      }
      if (entry.Key.find(TenderType2Prefix) != std::string::npos) {
        RecordSet &map = state.PayMethodMap;
        map.Append();
        map.SetField("POSNAME", Value(pos.Name));
        map.SetField("SCOID", storeId);
        map.SetField("OPAY", Value(CodeOf(entry.Key)));
        map.SetField("CPAY", Value(entry.Value));
        if (payMethods.Locate("NAME", {Value(entry.Value)}))
          map.SetField("UPWID", payMethods.Field("ID"));
        map.Post();
      }
    }
  }
  return lists;
}

} // namespace vq
