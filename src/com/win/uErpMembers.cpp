#include "com/win/uErpMembers.h"

#include <iterator>

namespace vq::com {

// {AB23B999-6E38-4B62-823B-87FFAABC404E}
const CLSID CLSID_KvrConnection = {
    0xAB23B999, 0x6E38, 0x4B62, {0x82, 0x3B, 0x87, 0xFF, 0xAA, 0xBC, 0x40, 0x4E}};
// {FBEF0A44-8043-4AF4-B503-06E15A0684FD}
const IID IID_IKvrConnection = {
    0xFBEF0A44, 0x8043, 0x4AF4, {0xB5, 0x03, 0x06, 0xE1, 0x5A, 0x06, 0x84, 0xFD}};

namespace {

struct MemberName {
  ErpMember Member;
  ErpObject Object;
  const wchar_t *Name;
};

// Every member name of the ERP component that the connector uses. The README's table
// lists the same. Members of single business objects (EntryType, SetValues...) are called
// with the names their callers give.
constexpr MemberName MemberNames[] = {
    {ErpMember::Connected, ErpObject::Connection, L"Connected"},
    {ErpMember::ServerGuid, ErpObject::Connection, L"ServerGUID"},
    {ErpMember::ServerName, ErpObject::Connection, L"ServerName"},
    {ErpMember::ClientIdentity, ErpObject::Connection, L"SetClientIdentity"},
    {ErpMember::AppServer, ErpObject::Connection, L"AppServer"},
    {ErpMember::WorkAreaConnection, ErpObject::AppServer, L"WorkAreaConnection"},
    {ErpMember::ApplicationLogin, ErpObject::AppServer, L"ApplicationLogin"},
    {ErpMember::Call, ErpObject::AppServer, L"Call"},
    {ErpMember::StartTransaction, ErpObject::AppServer, L"StartTransaction"},
    {ErpMember::Commit, ErpObject::AppServer, L"Commit"},
    {ErpMember::Rollback, ErpObject::AppServer, L"Rollback"},
    {ErpMember::CreateBO, ErpObject::AppServer, L"CreateBO"},
    {ErpMember::PrepareNewInstance, ErpObject::BusinessObject, L"PrepareNewInstance"},
    {ErpMember::LoadInstance, ErpObject::BusinessObject, L"LoadInstance"},
    {ErpMember::GetInstance, ErpObject::BusinessObject, L"GetInstance"},
    {ErpMember::PutInstance, ErpObject::BusinessObject, L"PutInstance"},
    {ErpMember::InsertInstance, ErpObject::BusinessObject, L"InsertInstance"},
    {ErpMember::ModifyInstance, ErpObject::BusinessObject, L"ModifyInstance"},
    {ErpMember::GetProperty, ErpObject::BusinessObject, L"GetProperty"},
    {ErpMember::SetProperty, ErpObject::BusinessObject, L"SetProperty"},
    {ErpMember::LastErrors, ErpObject::BusinessObject, L"LastErrors"},
    {ErpMember::LastWarnings, ErpObject::BusinessObject, L"LastWarnings"},
};

// ErpMemberName indexes the table by member.
constexpr bool InMemberOrder() {
  for (size_t i = 0; i < std::size(MemberNames); ++i)
    if (static_cast<size_t>(MemberNames[i].Member) != i) return false;
  return std::size(MemberNames) == static_cast<size_t>(ErpMember::LastWarnings) + 1;
}
static_assert(InMemberOrder());

} // namespace

const wchar_t *ErpMemberName(ErpMember member) {
  return MemberNames[static_cast<size_t>(member)].Name;
}

std::optional<ErpMember> FindErpMember(ErpObject object, std::wstring_view name) {
  for (const MemberName &entry : MemberNames) {
    if (entry.Object != object) continue;
    if (CompareStringOrdinal(entry.Name, -1, name.data(), static_cast<int>(name.size()), TRUE) ==
        CSTR_EQUAL)
      return entry.Member;
  }
  return std::nullopt;
}

} // namespace vq::com
