#!/usr/bin/env bash
# The COM servers under Wine with real clients:
#   wine-tests.sh WINDOWS_BUILD_DIR VQCONNECTOR
# A demo home made by the Linux command line gets both DLLs beside its settings file; they
# are registered, called by a VBScript client (cscript), a compiled client that binds early,
# a trace listener and a type-library reader, then unregistered. Every expected output is
# what VQCONNECTOR answers for the same call on the same home.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
cli=$(realpath "$2")
work="$build/wine-tests"
home="$work/home"
# A crashing client ends at once instead of waiting in the debugger.
export WINEPREFIX="$build/wine-prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  # No display here: Wine's null graphics driver still has windows and messages.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -w
fi

rm -rf "$work" && mkdir -p "$work"
"$cli" sandbox init "$home" --demo >/dev/null
cp "$build/src/com/win/VqBackOfficeConnector.ocx" "$build/src/com/win/VqBackOfficeSandbox.dll" \
  "$build/src/com/win/tests/"*.exe "$here"/*.vbs "$home/"
for runtime in libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll; do
  cp "$(i686-w64-mingw32-g++-posix -print-file-name=$runtime)" "$home/"
done
win_home=$(winepath -w "$home")

passed=0
failed=0
check() { # check WHAT COMMAND...
  if "${@:2}" >/dev/null 2>&1; then passed=$((passed + 1)); else
    failed=$((failed + 1))
    echo "FAIL $1"
  fi
}
# A client's run passes when it ends with its own "N passed, 0 failed".
client() { # client WHAT PROGRAM [ARGS...]
  local out
  out=$(cd "$home" && timeout 600 wine "${@:2}" 2>/dev/null | tr -d '\r') || true
  printf '%s\n' "$out" | sed "s/^/  [$1] /"
  if printf '%s\n' "$out" | grep -qE '^[1-9][0-9]* passed, 0 failed$'; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $1"
  fi
}
utf16() { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; }

# expect NAME CLI-ARGUMENTS...: what the command line answers, as NAME.value, NAME.code,
# NAME.message, NAME.customer or NAME.failure (UTF-16) for the clients.
expect() {
  local name=$1 err="$work/$1.err"
  shift
  (cd "$home" && "$cli" --home "$home" "$@") >"$work/$name.out" 2>"$err" || true
  if [ "${1:-}" = script ]; then sed -i 1d "$work/$name.out"; fi
  utf16 <"$work/$name.out" >"$home/$name.value.txt"
  if ! head -n 1 "$err" | grep -q '^ResultCode='; then
    head -c -1 "$err" | utf16 >"$home/$name.failure.txt"
    return
  fi
  head -n 1 "$err" | sed 's/^ResultCode=//' | tr -d '\n' | utf16 >"$home/$name.code.txt"
  if tail -n 1 "$err" | grep -q '^CustomerCode='; then
    tail -n 1 "$err" | sed 's/^CustomerCode=//' | tr -d '\n' | utf16 >"$home/$name.customer.txt"
    sed -i '$d' "$err"
  fi
  tail -n +2 "$err" | head -c -1 | utf16 >"$home/$name.message.txt"
}

# Inputs, with Greek text going in: UTF-8 for the command line, UTF-16 for the clients.
cat >"$work/pos.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Pos><PosItems><rConfigPos><Name>POS1</Name><Description>Ταμείο καταστήματος</Description></rConfigPos></PosItems></Pos>
XML
echo '<Transactions><TransactionMaster><Counter>0</Counter><Type>2</Type></TransactionMaster></Transactions>' \
  >"$work/transactions.xml"
echo '<Customers><Customer><Name>Πελάτης δοκιμής</Name></Customer></Customers>' >"$work/customer.xml"
echo '<GenericCall><Command>getstock</Command></GenericCall>' >"$work/command.xml"
echo '<GenericCall><Command>getstock' >"$work/bad-command.xml"
for f in pos transactions customer command bad-command; do utf16 <"$work/$f.xml" >"$home/$f.xml"; done
# The traced call's POS info is longer than a label may be.
printf '<Pos><PosItems><rConfigPos><Name>%s</Name></rConfigPos></PosItems></Pos>' \
  "$(printf 'Ταμείο%.0s' $(seq 1 50))" >"$work/traced-pos.xml"
utf16 <"$work/traced-pos.xml" >"$home/traced-pos.txt"
{ printf 'GetCustomers XmlPosInfo='; cat "$work/traced-pos.xml"; } | iconv -f UTF-8 -t CP1253 |
  head -c 255 >"$home/traced-label.bin"

expect open-connection open-connection
expect get-items get-items 0 --pos "$work/pos.xml"
expect get-customers get-customers 0 --pos "$work/pos.xml"
expect insert-transactions insert-transactions --data "$work/transactions.xml" --pos "$work/pos.xml"
expect insert-customer insert-customer --data "$work/customer.xml" --pos "$work/pos.xml"
expect generic-call generic-call --command "$work/command.xml" --pos "$work/pos.xml"
expect bad-command generic-call --command "$work/bad-command.xml" --pos "$work/pos.xml"
printf 'InsertTransactions transactions.xml pos.xml\n' >"$work/no-session.txt"
expect no-session script "$work/no-session.txt"
printf 'BackOfficeSetup pos.xml\n' >"$work/backoffice-setup.txt"
expect backoffice-setup script "$work/backoffice-setup.txt"

echo "== registration"
check "regsvr32 VqBackOfficeConnector.ocx" wine regsvr32 /s "$win_home\\VqBackOfficeConnector.ocx"
check "regsvr32 VqBackOfficeSandbox.dll" wine regsvr32 /s "$win_home\\VqBackOfficeSandbox.dll"
keys=('HKCR\CLSID\{B7E9B2C5-7240-4D29-8FBA-B51F999548CF}\InprocServer32'
  'HKCR\CLSID\{B7E9B2C5-7240-4D29-8FBA-B51F999548CF}\ProgID'
  'HKCR\CLSID\{B7E9B2C5-7240-4D29-8FBA-B51F999548CF}\TypeLib'
  'HKCR\VqBackOfficeConnector.BackOfficeConnector\CLSID'
  'HKCR\TypeLib\{5DC5C6E5-9B85-45FD-B3D8-B91EA6CFB32E}\1.0'
  'HKCR\Interface\{F22ABC1B-ED06-4EA4-B371-05F5B70A4B29}'
  'HKCR\CLSID\{AB23B999-6E38-4B62-823B-87FFAABC404E}\InprocServer32')
for key in "${keys[@]}"; do check "registered: $key" wine reg query "$key"; done
check "threading model Apartment" bash -c \
  "wine reg query 'HKCR\\CLSID\\{B7E9B2C5-7240-4D29-8FBA-B51F999548CF}\\InprocServer32' /v ThreadingModel | grep -q Apartment"
check "HKCU\\Software\\Marovant exists once loaded" wine reg query 'HKCU\Software\Marovant'

echo "== clients on the demo home"
client "VBScript" cscript //nologo "$win_home\\tConnector.vbs" demo
client "early binding" "$home/tEarlyBinding.exe" demo
client "type library" "$home/tTypeLibrary.exe"
client "trace listener" "$home/tTraceListener.exe"

echo "== a refused login"
cp "$home/BackOfficeParams.ini" "$work/BackOfficeParams.ini"
sed -i 's/^Password=.*/Password=wrong/' "$home/BackOfficeParams.ini"
expect open-refused open-connection
client "VBScript, refused" cscript //nologo "$win_home\\tConnector.vbs" refused
client "early binding, refused" "$home/tEarlyBinding.exe" refused
cp "$work/BackOfficeParams.ini" "$home/BackOfficeParams.ini"

echo "== unregistration"
check "regsvr32 /u VqBackOfficeConnector.ocx" wine regsvr32 /u /s "$win_home\\VqBackOfficeConnector.ocx"
check "regsvr32 /u VqBackOfficeSandbox.dll" wine regsvr32 /u /s "$win_home\\VqBackOfficeSandbox.dll"
for key in "${keys[@]}"; do check "removed: $key" bash -c "! wine reg query '$key'"; done
check "removed: HKCR\\VqBackOfficeConnector.BackOfficeConnector" bash -c \
  "! wine reg query 'HKCR\\VqBackOfficeConnector.BackOfficeConnector'"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
