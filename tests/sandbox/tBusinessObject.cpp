#include "core/uError.h"
#include "sandbox/uBusinessObject.h"
#include "sandbox/uSandboxServer.h"
#include "sandbox/uTsqlEngine.h"
#include "sandbox/uWorkArea.h"
#include "support/uTempHome.h"

#include <gtest/gtest.h>

using vq::Value;

namespace {

// A customer category as a business object: one provider, written to a table of its own.
class CategoryObject : public vq::sandbox::SandboxBusinessObject {
public:
  using SandboxBusinessObject::SandboxBusinessObject;

protected:
  std::map<std::string, vq::RecordSet> NewProviders() override {
    vq::RecordSet main;
    main.AddFieldDef("ID", vq::FieldType::Integer);
    main.AddFieldDef("NAME", vq::FieldType::Text, 50);
    main.CreateDataSet();
    main.Append();
    main.Post();
    return {{"prvMain", main}};
  }
  std::map<std::string, vq::RecordSet> LoadProviders(int64_t id) override {
    vq::DataPacket rows =
        Context().Engine.Query("SELECT ID, NAME FROM TST_CAT WHERE ID=:0", {Value(id)});
    if (rows.Rows.empty()) throw vq::Error("No category " + std::to_string(id));
    return {{"prvMain", vq::RecordSet(rows)}};
  }
  int64_t Save(bool isNew) override {
    vq::RecordSet &main = Provider("prvMain");
    const std::string name = main.Field("NAME").AsText();
    if (name.empty()) {
      AddError("Το όνομα είναι υποχρεωτικό");
      return 0;
    }
    if (isNew) {
      Context().Engine.Execute("INSERT INTO TST_CAT (NAME) VALUES (:0)", {Value(name)});
      return Context().Engine.Query("SELECT MAX(ID) AS ID FROM TST_CAT", {}).Rows[0][0].AsInteger();
    }
    Context().Engine.Execute("UPDATE TST_CAT SET NAME=:0 WHERE ID=:1",
                             {Value(name), main.Field("ID")});
    return main.Field("ID").AsInteger();
  }
};

class BusinessObjectTest : public ::testing::Test {
protected:
  BusinessObjectTest() {
    vq::sandbox::CreateWorkArea(home_.Path(), "MAIN", vq::sandbox::WorkAreaContent::MinimalCompany);
    vq::sandbox::BusinessObjectRegistry()["VqTST.Category"] =
        [](vq::sandbox::BusinessContext context) {
          return std::unique_ptr<vq::IBusinessObject>(new CategoryObject(context));
        };
    connection_ = vq::sandbox::MakeSandboxConnection(home_.Path().string());
    connection_->SetServerName("sandbox");
    connection_->SetConnected(true);
    connection_->AppServer().WorkAreaConnection("MAIN", "sandbox", "");
    connection_->AppServer().Call(
        "ExecSQL",
        {Value("CREATE TABLE TST_CAT (ID INT IDENTITY(1,1) PRIMARY KEY, NAME VARCHAR(50))"),
         Value::Null()});
  }
  ~BusinessObjectTest() override { vq::sandbox::BusinessObjectRegistry().erase("VqTST.Category"); }

  vq::test::TempHome home_;
  std::unique_ptr<vq::IKvrConnection> connection_;
};

vq::RecordSet Provider(vq::IBusinessObject &object, const std::string &name) {
  vq::RecordSet records;
  records.SetData(object.GetInstance(name));
  return records;
}

} // namespace

TEST_F(BusinessObjectTest, NewInstanceIsFilledThroughItsProviderAndSaved) {
  auto object = connection_->AppServer().CreateBO("VqTST.Category");
  object->PrepareNewInstance();
  vq::RecordSet main = Provider(*object, "prvMain");
  main.Edit();
  main.SetField("NAME", Value("Χονδρική"));
  main.Post();
  object->PutInstance("prvMain", main.Data());
  int32_t status = -1;
  object->InsertInstance(status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(object->LastErrors().IsNull());
  EXPECT_TRUE(object->LastWarnings().IsNull());
  const Value id = object->GetProperty("ObjIdentity");
  EXPECT_GT(id.AsInteger(), 0);

  auto loaded = connection_->AppServer().CreateBO("VqTST.Category");
  loaded->LoadInstance(id);
  EXPECT_EQ(Provider(*loaded, "prvMain").Field("NAME"), Value("Χονδρική"));
  EXPECT_THROW(loaded->LoadInstance(Value(999)), vq::Error);
}

TEST_F(BusinessObjectTest, RefusalComesBackAsStatusAndErrorTexts) {
  auto object = connection_->AppServer().CreateBO("VqTST.Category");
  object->PrepareNewInstance();
  int32_t status = 0;
  object->InsertInstance(status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(object->LastErrors(), Value(std::vector<Value>{Value("Το όνομα είναι υποχρεωτικό")}));
  EXPECT_EQ(object->GetProperty("ObjIdentity").AsInteger(), 0);
}

TEST_F(BusinessObjectTest, ProvidersAndPropertiesAreChecked) {
  auto object = connection_->AppServer().CreateBO("VqTST.Category");
  EXPECT_THROW(object->GetInstance("prvMain"), vq::Error); // no instance yet
  object->PrepareNewInstance();
  EXPECT_THROW(object->GetInstance("prvDocLines"), vq::Error);
  vq::RecordSet other;
  other.AddFieldDef("X", vq::FieldType::Integer);
  other.CreateDataSet();
  EXPECT_THROW(object->PutInstance("prvMain", other.Data()), vq::Error);
  object->SetProperty("EntryType", Value(3));
  EXPECT_EQ(object->GetProperty("entrytype"), Value(3));
  EXPECT_THROW(object->GetProperty("Nothing"), vq::Error);
  int32_t status = 0;
  EXPECT_THROW(object->ModifyInstance(status), vq::Error); // a new instance is inserted
}
