' The client whose traces tTraceListener.exe receives: one GetCustomers call with a long
' Greek POS info (traced-pos.txt, UTF-16).
Option Explicit
Dim fso, dir, pos, connector, code, message, value
Set fso = CreateObject("Scripting.FileSystemObject")
dir = fso.GetParentFolderName(WScript.ScriptFullName) & "\"
pos = fso.OpenTextFile(dir & "traced-pos.txt", 1, False, -1).ReadAll
Set connector = CreateObject("VqBackOfficeConnector.BackOfficeConnector")
value = connector.GetCustomers(0, pos, code, message)
WScript.Quit 0
