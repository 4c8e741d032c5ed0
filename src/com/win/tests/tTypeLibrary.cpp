// Reads the registered type library back through ITypeLib and ITypeInfo: names, help
// strings, GUIDs, version, DISPIDs, vtable order and parameter directions.

#include "VqBackOfficeConnector.h"
#include "uWineTest.h"

#include <string>
#include <vector>

using namespace vq::wine;

namespace {

constexpr USHORT In = PARAMFLAG_FIN;
constexpr USHORT Out = PARAMFLAG_FOUT;
constexpr USHORT RetVal = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

struct Parameter {
  const wchar_t *Name;
  VARTYPE Type; // VT_PTR for out-parameters
  USHORT Direction;
};

struct Method {
  DISPID Id;
  const wchar_t *Name;
  std::vector<Parameter> Parameters;
};

const std::vector<Method> Methods = {
    {201,
     L"GetCustomers",
     {{L"RevNum", VT_I4, In},
      {L"XmlPosInfo", VT_BSTR, In},
      {L"ResultCode", VT_PTR, Out},
      {L"ResultMessage", VT_PTR, Out},
      {L"Value", VT_PTR, RetVal}}},
    {202,
     L"GetItems",
     {{L"RevNum", VT_I4, In},
      {L"XmlPosInfo", VT_BSTR, In},
      {L"ResultCode", VT_PTR, Out},
      {L"ResultMessage", VT_PTR, Out},
      {L"Value", VT_PTR, RetVal}}},
    {203,
     L"InsertTransactions",
     {{L"XmlData", VT_BSTR, In},
      {L"XmlPosInfo", VT_BSTR, In},
      {L"ResultCode", VT_PTR, Out},
      {L"ResultMessage", VT_PTR, Out}}},
    {204, L"BackOfficeSetup", {{L"XmlPosInfo", VT_BSTR, In}}},
    {205, L"OpenConnection", {{L"ResultCode", VT_PTR, Out}, {L"ResultMessage", VT_PTR, Out}}},
    {206, L"CloseConnection", {{L"ResultCode", VT_PTR, Out}, {L"ResultMessage", VT_PTR, Out}}},
    {207,
     L"InsertCustomer",
     {{L"XmlData", VT_BSTR, In},
      {L"XmlPosInfo", VT_BSTR, In},
      {L"ResultCode", VT_PTR, Out},
      {L"ResultMessage", VT_PTR, Out},
      {L"CustomerCode", VT_PTR, Out}}},
    {208,
     L"GenericCall",
     {{L"XmlCommand", VT_BSTR, In}, {L"XmlPosInfo", VT_BSTR, In}, {L"Value", VT_PTR, RetVal}}},
};

std::wstring Name(ITypeInfo *info, MEMBERID id) {
  BSTR name = nullptr;
  info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
  std::wstring text = Text(name);
  SysFreeString(name);
  return text;
}

std::wstring HelpString(ITypeInfo *info) {
  BSTR help = nullptr;
  info->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr);
  std::wstring text = Text(help);
  SysFreeString(help);
  return text;
}

void CheckLibrary(ITypeLib *library) {
  TLIBATTR *attributes = nullptr;
  Check(SUCCEEDED(library->GetLibAttr(&attributes)), "library attributes");
  if (attributes == nullptr) return;
  Check(IsEqualGUID(attributes->guid, LIBID_VqBackOfficeConnector), "LIBID");
  Check(attributes->wMajorVerNum == 1 && attributes->wMinorVerNum == 0, "library version 1.0");
  library->ReleaseTLibAttr(attributes);
  BSTR name = nullptr, help = nullptr;
  library->GetDocumentation(-1, &name, &help, nullptr, nullptr);
  Check(Text(name) == L"VqBackOfficeConnector", "library name");
  Check(Text(help) == L"Palvex Library", "library help string");
  SysFreeString(name);
  SysFreeString(help);
}

void CheckMethod(ITypeInfo *info, const FUNCDESC *function, const Method &method, int slot) {
  const std::string name(method.Name, method.Name + wcslen(method.Name));
  Check(function->memid == method.Id, (name + ": DISPID").c_str());
  Check(function->oVft == static_cast<SHORT>((7 + slot) * sizeof(void *)),
        (name + ": vtable slot").c_str());
  Check(function->cParams == static_cast<SHORT>(method.Parameters.size()),
        (name + ": parameter count").c_str());
  std::vector<BSTR> names(method.Parameters.size() + 1, nullptr);
  UINT count = 0;
  info->GetNames(function->memid, names.data(), static_cast<UINT>(names.size()), &count);
  Check(Text(names[0]) == method.Name, (name + ": name").c_str());
  for (size_t i = 0; i < method.Parameters.size() && i < static_cast<size_t>(function->cParams);
       ++i) {
    const Parameter &expected = method.Parameters[i];
    const ELEMDESC &declared = function->lprgelemdescParam[i];
    const std::string what = name + " parameter " + std::to_string(i + 1);
    Check(i + 1 < count && Text(names[i + 1]) == expected.Name, (what + ": name").c_str());
    Check(declared.tdesc.vt == expected.Type, (what + ": type").c_str());
    Check((declared.paramdesc.wParamFlags & (In | RetVal)) == expected.Direction,
          (what + ": direction").c_str());
  }
  for (BSTR text : names) SysFreeString(text);
}

void CheckInterface(ITypeLib *library) {
  ITypeInfo *dispatch = nullptr;
  Check(SUCCEEDED(library->GetTypeInfoOfGuid(IID_IBackOfficeConnector, &dispatch)),
        "IBackOfficeConnector in the library");
  if (dispatch == nullptr) return;
  TYPEATTR *attributes = nullptr;
  dispatch->GetTypeAttr(&attributes);
  Check((attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0, "IBackOfficeConnector is dual");
  dispatch->ReleaseTypeAttr(attributes);
  Check(Name(dispatch, MEMBERID_NIL) == L"IBackOfficeConnector", "interface name");
  Check(HelpString(dispatch) == L"Dispatch interface for BackOfficeConnector Object",
        "interface help string");

  // The vtable half of the dual interface: IDispatch, then the eight methods in order.
  HREFTYPE reference = 0;
  ITypeInfo *vtable = nullptr;
  if (SUCCEEDED(dispatch->GetRefTypeOfImplType(-1, &reference)))
    dispatch->GetRefTypeInfo(reference, &vtable);
  Check(vtable != nullptr, "vtable part of IBackOfficeConnector");
  if (vtable != nullptr) {
    vtable->GetTypeAttr(&attributes);
    Check(attributes->typekind == TKIND_INTERFACE && attributes->cFuncs == 8, "eight methods");
    Check((attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0,
          "IBackOfficeConnector is OLE-automation compatible");
    Check(IsEqualGUID(attributes->guid, IID_IBackOfficeConnector), "IID");
    const WORD count = attributes->cFuncs;
    vtable->ReleaseTypeAttr(attributes);
    for (WORD i = 0; i < count && i < Methods.size(); ++i) {
      FUNCDESC *function = nullptr;
      if (FAILED(vtable->GetFuncDesc(i, &function))) continue;
      CheckMethod(vtable, function, Methods[i], i);
      vtable->ReleaseFuncDesc(function);
    }
    vtable->Release();
  }
  dispatch->Release();
}

void CheckClass(ITypeLib *library) {
  ITypeInfo *coclass = nullptr;
  Check(SUCCEEDED(library->GetTypeInfoOfGuid(CLSID_BackOfficeConnector, &coclass)),
        "BackOfficeConnector in the library");
  if (coclass == nullptr) return;
  TYPEATTR *attributes = nullptr;
  coclass->GetTypeAttr(&attributes);
  Check(attributes->typekind == TKIND_COCLASS, "BackOfficeConnector is a class");
  Check((attributes->wTypeFlags & TYPEFLAG_FCANCREATE) != 0, "BackOfficeConnector is creatable");
  coclass->ReleaseTypeAttr(attributes);
  Check(Name(coclass, MEMBERID_NIL) == L"BackOfficeConnector", "class name");
  Check(HelpString(coclass) == L"BackOfficeConnector Object", "class help string");
  INT flags = 0;
  HREFTYPE reference = 0;
  ITypeInfo *implemented = nullptr;
  coclass->GetImplTypeFlags(0, &flags);
  coclass->GetRefTypeOfImplType(0, &reference);
  coclass->GetRefTypeInfo(reference, &implemented);
  Check((flags & IMPLTYPEFLAG_FDEFAULT) != 0 && implemented != nullptr &&
            Name(implemented, MEMBERID_NIL) == L"IBackOfficeConnector",
        "default interface IBackOfficeConnector");
  if (implemented != nullptr) implemented->Release();
  coclass->Release();
}

} // namespace

int wmain() {
  CoInitialize(nullptr);
  ITypeLib *library = nullptr;
  Check(SUCCEEDED(LoadRegTypeLib(LIBID_VqBackOfficeConnector, 1, 0, 0, &library)),
        "the registered type library loads");
  if (library != nullptr) {
    CheckLibrary(library);
    CheckInterface(library);
    CheckClass(library);
    library->Release();
  }
  CoUninitialize();
  return Summary();
}
