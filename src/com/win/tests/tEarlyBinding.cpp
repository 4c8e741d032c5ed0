// A compiled client that binds early: the vtable of IBackOfficeConnector as the generated
// header declares it. It checks the outputs against what the command line answered for the
// same calls on the same home (files beside it). Argument: "demo" or "refused".

#include "VqBackOfficeConnector.h"
#include "uWineTest.h"

#include <string>

using namespace vq::wine;

namespace {

// A BSTR out-parameter, freed at the end of its scope.
struct Out {
  BSTR Text = nullptr;
  ~Out() { SysFreeString(Text); }
  std::wstring Value() const { return vq::wine::Text(Text); }
};

std::wstring Expected(const std::wstring &call, const wchar_t *part) {
  return ReadText(call + L"." + part + L".txt");
}

void CheckOutputs(const std::wstring &call, HRESULT result, LONG code, const Out &message) {
  const std::string name(call.begin(), call.end());
  Check(result == S_OK, (name + ": S_OK").c_str());
  Check(std::to_wstring(code) == Expected(call, L"code"), (name + ": ResultCode").c_str());
  Check(message.Value() == Expected(call, L"message"), (name + ": ResultMessage").c_str());
}

BSTR Argument(const std::wstring &text) { return SysAllocStringLen(text.data(), text.size()); }

void Demo(IBackOfficeConnector *connector) {
  const BSTR pos = Argument(ReadText(L"pos.xml"));
  const BSTR transactions = Argument(ReadText(L"transactions.xml"));
  const BSTR command = Argument(ReadText(L"command.xml"));
  LONG code = -1;
  {
    Out message;
    const HRESULT result = connector->CloseConnection(&code, &message.Text);
    Check(result == S_OK && code == 0 && message.Value().empty(),
          "CloseConnection on a new object");
  }
  {
    Out message, value;
    const HRESULT result = connector->GetItems(0, pos, &code, &message.Text, &value.Text);
    CheckOutputs(L"get-items", result, code, message);
    Check(value.Value() == Expected(L"get-items", L"value"), "get-items: Value");
  }
  {
    // GetItems released its session: an import call has none.
    Out message;
    const HRESULT result = connector->InsertTransactions(transactions, pos, &code, &message.Text);
    CheckOutputs(L"no-session", result, code, message);
  }
  {
    Out message, imported;
    HRESULT result = connector->OpenConnection(&code, &message.Text);
    CheckOutputs(L"open-connection", result, code, message);
    result = connector->InsertTransactions(transactions, pos, &code, &imported.Text);
    CheckOutputs(L"insert-transactions", result, code, imported);
    Out closed;
    Check(connector->CloseConnection(&code, &closed.Text) == S_OK && code == 0,
          "CloseConnection after OpenConnection");
  }
  {
    Out value;
    Check(connector->GenericCall(command, pos, &value.Text) == S_OK, "generic-call: S_OK");
    Check(value.Value() == Expected(L"generic-call", L"value"), "generic-call: Value");
  }
  {
    // A failure without a ResultCode: a failed HRESULT with the message as IErrorInfo.
    const HRESULT result = connector->BackOfficeSetup(pos);
    Check(result == E_UNEXPECTED, "backoffice-setup: E_UNEXPECTED");
    ISupportErrorInfo *support = nullptr;
    Check(SUCCEEDED(connector->QueryInterface(IID_ISupportErrorInfo,
                                              reinterpret_cast<void **>(&support))) &&
              support->InterfaceSupportsErrorInfo(IID_IBackOfficeConnector) == S_OK,
          "ISupportErrorInfo for IBackOfficeConnector");
    if (support != nullptr) support->Release();
    IErrorInfo *info = nullptr;
    Out description;
    Check(GetErrorInfo(0, &info) == S_OK && info != nullptr &&
              SUCCEEDED(info->GetDescription(&description.Text)),
          "backoffice-setup: IErrorInfo");
    if (info != nullptr) info->Release();
    Check(description.Value() == Expected(L"backoffice-setup", L"failure"),
          "backoffice-setup: description");
  }
  {
    Out message;
    Check(connector->OpenConnection(nullptr, &message.Text) == E_POINTER,
          "a missing out-parameter is E_POINTER");
  }
  SysFreeString(pos);
  SysFreeString(transactions);
  SysFreeString(command);
}

void Refused(IBackOfficeConnector *connector) {
  LONG code = -1;
  Out message;
  const HRESULT result = connector->OpenConnection(&code, &message.Text);
  CheckOutputs(L"open-refused", result, code, message);
  const std::wstring text = message.Value();
  Check(text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0,
        "the login refusal ends with CR LF");
}

} // namespace

int wmain(int argc, wchar_t **argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"demo";
  CoInitialize(nullptr);
  IBackOfficeConnector *connector = nullptr;
  const HRESULT created =
      CoCreateInstance(CLSID_BackOfficeConnector, nullptr, CLSCTX_INPROC_SERVER,
                       IID_IBackOfficeConnector, reinterpret_cast<void **>(&connector));
  Check(SUCCEEDED(created), "CoCreateInstance of BackOfficeConnector");
  if (connector != nullptr) {
    if (mode == L"refused")
      Refused(connector);
    else
      Demo(connector);
    connector->Release();
  }
  CoUninitialize();
  return Summary();
}
