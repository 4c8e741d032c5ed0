' The scripting client: CreateObject by ProgID and late-bound calls, out-parameters passed
' as VARIANT references the way VBScript passes its variables. Every output is compared
' with what the command line answered for the same call on the same home; the expected
' texts are UTF-16 files beside this script. Argument: "demo" or "refused".
Option Explicit
Dim fso, dir, passed, failed
Set fso = CreateObject("Scripting.FileSystemObject")
dir = fso.GetParentFolderName(WScript.ScriptFullName) & "\"
passed = 0
failed = 0

Function ReadText(name)
  ReadText = ""
  If Not fso.FileExists(dir & name) Then Exit Function
  If fso.GetFile(dir & name).Size <= 2 Then Exit Function
  ReadText = fso.OpenTextFile(dir & name, 1, False, -1).ReadAll
End Function

Function Expected(callName, part)
  Expected = ReadText(callName & "." & part & ".txt")
End Function

' A failed check keeps what arrived in NAME.actual.txt (UTF-16) for a look.
Sub Check(label, actual, wanted)
  Dim file
  If actual = wanted Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL " & label
    Set file = fso.CreateTextFile(dir & label & ".actual.txt", True, True)
    file.Write actual
    file.Close
  End If
End Sub

Sub CheckOutputs(callName, code, message)
  Check callName & ".code", CStr(code), Expected(callName, "code")
  Check callName & ".message", message, Expected(callName, "message")
End Sub

Dim connector, code, message, value, customer, pos
Set connector = CreateObject("VqBackOfficeConnector.BackOfficeConnector")
pos = ReadText("pos.xml")

If WScript.Arguments(0) = "refused" Then
  connector.OpenConnection code, message
  CheckOutputs "open-refused", code, message
  Check "open-refused.crlf", Right(message, 2), vbCrLf
Else
  connector.CloseConnection code, message
  Check "close-new", CStr(code) & "|" & message, "0|"

  connector.OpenConnection code, message
  CheckOutputs "open-connection", code, message
  ' A second OpenConnection replaces the first session.
  connector.OpenConnection code, message
  CheckOutputs "open-connection", code, message
  connector.InsertTransactions ReadText("transactions.xml"), pos, code, message
  CheckOutputs "insert-transactions", code, message
  connector.InsertCustomer ReadText("customer.xml"), pos, code, message, customer
  CheckOutputs "insert-customer", code, message
  Check "insert-customer.customer", customer, Expected("insert-customer", "customer")
  connector.CloseConnection code, message
  Check "close-open", CStr(code) & "|" & message, "0|"

  value = connector.GetItems(0, pos, code, message)
  CheckOutputs "get-items", code, message
  Check "get-items.value", value, Expected("get-items", "value")
  value = connector.GetCustomers(0, pos, code, message)
  CheckOutputs "get-customers", code, message
  Check "get-customers.value", value, Expected("get-customers", "value")
  ' GetCustomers released its session: an import call has none.
  connector.InsertTransactions ReadText("transactions.xml"), pos, code, message
  CheckOutputs "no-session", code, message

  value = connector.GenericCall(ReadText("command.xml"), pos)
  Check "generic-call.value", value, Expected("generic-call", "value")

  ' Failures of the methods without a ResultCode arrive as errors: Err.Description is the
  ' failure's message.
  On Error Resume Next
  value = connector.GenericCall(ReadText("bad-command.xml"), pos)
  If Expected("bad-command", "failure") = "" Then
    Check "bad-command.err", Err.Number, 0
    Check "bad-command.value", value, Expected("bad-command", "value")
  Else
    Check "bad-command.err", Hex(Err.Number), "8000FFFF"
    Check "bad-command.description", Err.Description, Expected("bad-command", "failure")
  End If
  Err.Clear
  connector.BackOfficeSetup pos
  Check "backoffice-setup.err", Hex(Err.Number), "8000FFFF"
  Check "backoffice-setup.description", Err.Description, Expected("backoffice-setup", "failure")
  On Error GoTo 0
End If

WScript.Echo passed & " passed, " & failed & " failed"
If failed > 0 Then WScript.Quit 1
