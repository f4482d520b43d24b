#!/bin/sh
# Prints one job through a real CUPS server with its PDF printer and checks the job's title
# and text. Usage: cups_print_test.sh TEST_BINARY. Exits 77 (skipped) when CUPS cannot run.
set -u
binary=$1
printer=OndrexPDF
skip() { echo "SKIPPED: $*"; exit 77; }

# One run at a time on a machine: a run that started cupsd stops it when it ends, which would
# take the server away from another run's job.
if [ -z "${ONDREX_CUPS_LOCKED:-}" ] && command -v flock >/dev/null 2>&1; then
    ONDREX_CUPS_LOCKED=1 exec flock /tmp/ondrex-cups-print.lock "$0" "$@"
fi

for tool in cupsd lpadmin lpstat pdftotext pdfinfo; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || skip "the CUPS PDF printer (printer-driver-cups-pdf) is not installed"

# A server started here is stopped again on exit, so later tests see no printer.
cupsd_pid=""
known=$(mktemp)
trap 'rm -f "$known"; [ -z "$cupsd_pid" ] || kill "$cupsd_pid" 2>/dev/null' EXIT
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    cupsd -f >/dev/null 2>&1 &
    cupsd_pid=$!
    for _ in $(seq 1 20); do
        lpstat -r 2>/dev/null | grep -q "is running" && break
        sleep 0.5
    done
    lpstat -r 2>/dev/null | grep -q "is running" || skip "cupsd could not start (needs root)"
fi
# The cairo renderer keeps the text extractable on its way through PostScript.
lpadmin -p "$printer" -v cups-pdf:/ -P "$ppd" -E -o pdftops-renderer-default=pdftocairo \
    >/dev/null 2>&1 ||
    skip "lpadmin could not add the cups-pdf:/ printer"
lpadmin -d "$printer" >/dev/null 2>&1 || skip "lpadmin could not make it the default"

out="${HOME:-/root}/PDF"
mkdir -p "$out"
jobsOf() { lpstat -W "$1" -o "$printer" 2>/dev/null | awk '{print $1}'; }
fail() {
    echo "FAILED: $*"
    lpstat -l -W all -o "$printer" 2>/dev/null | tail -n 8
    exit 1
}
jobsOf all >"$known" # also the time mark for the PDF

unset ONDREX_PRINT_TO_PDF
ONDREX_CUPS_TEST=1 "$binary" --gtest_filter='CupsPrint.*' >/dev/null || fail "the print job was refused"

# The job just queued is the one not listed before; the cancelled one before it never was.
new_jobs=$(jobsOf all | grep -vxFf "$known")
job=$(echo "$new_jobs" | tail -n 1)
[ -n "$job" ] || fail "no new job on $printer"
[ "$(echo "$new_jobs" | wc -l)" -eq 1 ] || fail "a cancelled job was queued: $new_jobs"

# The backend has written and closed the PDF when the job completes. A first run on a cold
# server (filters loading, the printer just added) takes seconds to get there.
for _ in $(seq 1 120); do
    jobsOf completed | grep -qxF "$job" && break
    sleep 0.5
done
jobsOf completed | grep -qxF "$job" || fail "job $job did not complete within 60 s"

# cups-pdf names the file after the job title. It is whole once its size holds still and it
# parses.
pdf=""
size=-1
last=-2
for _ in $(seq 1 40); do
    [ -n "$pdf" ] || pdf=$(find "$out" -maxdepth 1 -name '*Ondrex*.pdf' -newer "$known" | head -n 1)
    if [ -n "$pdf" ]; then
        size=$(stat -c %s "$pdf" 2>/dev/null || echo -1)
        [ "$size" -gt 0 ] && [ "$size" = "$last" ] && pdfinfo "$pdf" >/dev/null 2>&1 && break
        last=$size
    fi
    sleep 0.5
done
[ -n "$pdf" ] || fail "job $job completed, but no PDF with the title appeared in $out"
[ "$size" = "$last" ] || fail "$(basename "$pdf") is still being written"

status=0
pdfinfo "$pdf" | grep -Eq '^Title: *[(]?Ondrex[)]?$' || { echo "FAILED: PDF title is not Ondrex"; status=1; }
text=$(pdftotext -layout "$pdf" -)
for n in 1 6; do
    echo "$text" | grep -q "Line  *$n of the block" || { echo "FAILED: line $n missing"; status=1; }
done
[ $status -eq 0 ] && echo "PASSED: $(basename "$pdf") from job $job"
rm -f "$pdf"
exit $status
