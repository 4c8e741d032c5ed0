#include "export/uUserDefinedFields.h"

#include "core/uText.h"

namespace vq {
namespace {

using Kind = UdfSource::Kind;

struct Candidate {
  std::string Exists;
  std::string Value;
};

Candidate ArrayCandidate(const UdfDomain &domain, const std::string &name, bool id) {
  const std::string type = std::to_string(domain.Type);
  return {"EXISTS (SELECT 1 FROM UDD WHERE UPPER(ARRAYNAME)=UPPER(" + name +
              ") AND DOMAINTYPE=" + type + ")",
          std::string("ISNULL((SELECT ") + (id ? "CAST(UDV.ID AS VARCHAR(10))" : "UDV.NAME") +
              " FROM UDA INNER JOIN UDV ON UDA.ARRAYIDVAL=UDV.ID INNER JOIN UDD ON "
              "UDV.UDDID=UDD.ID WHERE UPPER(UDD.ARRAYNAME)=UPPER(" +
              name + ") AND UDA.AAID=UDD.ARRAYID AND UDA.DEFTYPE=1 AND UDA.DOMAINTYPE=" + type +
              " AND UDA.DOMAINID=" + std::string(domain.Table) + ".ID), '')"};
}

// The value of a free field of each FIELDTYPE, and the DEFTYPE of its assignments.
struct FieldValue {
  int FieldType;
  int DefType;
  std::string Expression;
};

FieldValue FreeFieldValue(Kind kind) {
  switch (kind) {
  case Kind::LogicalField: return {2, 3, "CAST(UDA.LOGICALVAL AS VARCHAR(1))"};
  case Kind::NumberField:
    return {3, 4, "CAST(CAST(ROUND(UDA.NUMERICVAL, 0) AS NUMERIC(28,0)) AS VARCHAR(40))"};
  case Kind::PercentField: {
    const std::string fixed = "CAST(CAST(UDA.PERCENTVAL AS NUMERIC(28,6)) AS VARCHAR(40))";
    return {4, 5,
            "CASE WHEN ISNULL(GNO.PERCENTDECS, 0)=0 THEN CAST(CAST(ROUND(UDA.PERCENTVAL, 0, 1) "
            "AS NUMERIC(28,0)) AS VARCHAR(40)) ELSE LEFT(" +
                fixed + ", CHARINDEX('.', " + fixed + ")+GNO.PERCENTDECS) END"};
  }
  case Kind::DateField: return {5, 6, "CONVERT(VARCHAR(30), UDA.DATEVAL, 126)"};
  default: return {1, 2, "UDA.ALPHANUMVAL"};
  }
}

Candidate FreeFieldCandidate(const UdfDomain &domain, const std::string &name, Kind kind) {
  const FieldValue field = FreeFieldValue(kind);
  const std::string type = std::to_string(domain.Type);
  return {"EXISTS (SELECT 1 FROM USF WHERE UPPER(FIELDNAME)=UPPER(" + name + ") AND DOMAINTYPE=" +
              type + " AND FIELDTYPE=" + std::to_string(field.FieldType) + ")",
          "ISNULL((SELECT " + field.Expression +
              " FROM UDA INNER JOIN USF ON USF.ID=UDA.DEFID WHERE UPPER(USF.FIELDNAME)=UPPER(" +
              name + ") AND UDA.AAID=USF.FIELDID AND UDA.DEFTYPE=" + std::to_string(field.DefType) +
              " AND UDA.DOMAINTYPE=" + type + " AND UDA.DOMAINID=" + std::string(domain.Table) +
              ".ID), '')"};
}

Candidate ExtraFieldCandidate(const UdfDomain &domain, const std::string &name, int field,
                              bool id) {
  const std::string definition = "IF" + std::to_string(field);
  const std::string values = "IR" + std::to_string(field);
  return {"EXISTS (SELECT 1 FROM " + definition + " WHERE UPPER(" + definition + ".NAME)=UPPER(" +
              name + "))",
          "(SELECT " + (id ? "CAST(" + values + ".ID AS VARCHAR(10))" : values + ".NAME") +
              " FROM " + values + " WHERE " + values + ".ID=" + std::string(domain.Table) + "." +
              definition + "ID)"};
}

Candidate CandidateOf(const UdfDomain &domain, const UdfSource &source) {
  const std::string name = SqlString(source.Name);
  switch (source.Source) {
  case Kind::ArrayValueId: return ArrayCandidate(domain, name, true);
  case Kind::ArrayValueName: return ArrayCandidate(domain, name, false);
  case Kind::ExtraFieldId: return ExtraFieldCandidate(domain, name, source.ExtraField, true);
  case Kind::ExtraFieldName: return ExtraFieldCandidate(domain, name, source.ExtraField, false);
  default: return FreeFieldCandidate(domain, name, source.Source);
  }
}

} // namespace

std::string SqlString(std::string_view text) {
  std::string literal = "'";
  literal.append(ReplaceAll(text, "'", "''")).append("'");
  return literal;
}

std::string UdfColumn(const UdfDomain &domain, const std::vector<UdfSource> &sources) {
  std::string column = "NULL";
  for (auto source = sources.rbegin(); source != sources.rend(); ++source) {
    const Candidate candidate = CandidateOf(domain, *source);
    column =
        "CASE WHEN " + candidate.Exists + " THEN " + candidate.Value + " ELSE " + column + " END";
  }
  return column;
}

std::vector<UdfSource> AnyUdfSources(std::string_view name) {
  return {{Kind::ArrayValueName, name}, {Kind::TextField, name},    {Kind::LogicalField, name},
          {Kind::NumberField, name},    {Kind::PercentField, name}, {Kind::DateField, name}};
}

} // namespace vq
