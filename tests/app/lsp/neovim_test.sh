#!/usr/bin/env bash
# The language server through a real client: Neovim headless with neovim_client.lua on a
# small site built here. Exit 77 (skipped) where nvim is not installed.
#
#   neovim_test.sh ONDREX_BINARY
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v nvim >/dev/null; then
  echo "neovim_test.sh: nvim is not installed (apt-get install neovim): skipped"
  exit 77
fi
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
mkdir -p "$site/inc"
cat >"$site/main.asp" <<'ASP'
<!-- #include file="inc/common.inc" -->
<%
Function ShowPrice(price)
  ' the price with its tax
  Call WriteTax(price)
End Function
Sub Footer()
  Response.Write "end"
End Sub
%>
ASP
printf '%s\n' '<!-- #include virtual="/inc/tax.inc" -->' >"$site/inc/common.inc"
printf '%s\n' "' Writes the tax of a price" "Function WriteTax(price)" \
  "  Response.Write price * TaxRate()" "End Function" "Function TaxRate()" \
  "  TaxRate = 0.2" "End Function" >"$site/inc/tax.inc"
ONDREX=$1 WORKSPACE=$site timeout 60 \
  nvim --headless -u NONE -i NONE -n -c "luafile $here/neovim_client.lua" </dev/null
