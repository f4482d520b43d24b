#!/bin/sh
# Prints one job through a real CUPS server with its PDF printer and checks the job's title
# and text. Usage: cups_print_test.sh TEST_BINARY. Exits 77 (skipped) when CUPS cannot run.
set -u
binary=$1
skip() { echo "SKIPPED: $*"; exit 77; }

for tool in cupsd lpadmin lpstat pdftotext pdfinfo; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || skip "the CUPS PDF printer (printer-driver-cups-pdf) is not installed"

# A server started here is stopped again on exit, so later tests see no printer.
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    cupsd -f >/dev/null 2>&1 &
    cupsd_pid=$!
    trap 'kill "$cupsd_pid" 2>/dev/null' EXIT
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        lpstat -r 2>/dev/null | grep -q "is running" && break
        sleep 1
    done
    lpstat -r 2>/dev/null | grep -q "is running" || skip "cupsd could not start (needs root)"
fi
# The cairo renderer keeps the text extractable on its way through PostScript.
lpadmin -p OndrexPDF -v cups-pdf:/ -P "$ppd" -E -o pdftops-renderer-default=pdftocairo \
    >/dev/null 2>&1 ||
    skip "lpadmin could not add the cups-pdf:/ printer"
lpadmin -d OndrexPDF >/dev/null 2>&1 || skip "lpadmin could not make it the default"

out="${HOME:-/root}/PDF"
mkdir -p "$out"
marker=$(mktemp)
sleep 1

unset ONDREX_PRINT_TO_PDF
ONDREX_CUPS_TEST=1 "$binary" --gtest_filter='CupsPrint.*' >/dev/null || {
    echo "FAILED: the print job was refused"
    exit 1
}

pdf=""
for _ in $(seq 1 60); do
    pdf=$(find "$out" -maxdepth 1 -name '*.pdf' -newer "$marker" | head -n 1)
    [ -n "$pdf" ] && break
    sleep 1
done
rm -f "$marker"
[ -n "$pdf" ] || { echo "FAILED: no PDF appeared in $out"; exit 1; }
sleep 1 # cups-pdf may still be writing

status=0
case "$(basename "$pdf")" in
*Ondrex*) ;;
*) echo "FAILED: job file $(basename "$pdf") does not carry the title"; status=1 ;;
esac
pdfinfo "$pdf" | grep -Eq '^Title: *[(]?Ondrex[)]?$' || { echo "FAILED: PDF title is not Ondrex"; status=1; }
text=$(pdftotext -layout "$pdf" -)
for n in 1 6; do
    echo "$text" | grep -q "Line  *$n of the block" || { echo "FAILED: line $n missing"; status=1; }
done
[ $status -eq 0 ] && echo "PASSED: $(basename "$pdf")"
rm -f "$pdf"
exit $status
