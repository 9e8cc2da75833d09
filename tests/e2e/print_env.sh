#!/usr/bin/env bash
# Shared by the end-to-end tests that print: a CUPS server of the test with a PDF queue as the
# default printer (only as root, where cupsd can run), and one page printed from a window's
# "Print" button onto it. Source it after program_env.sh; call stop_pdf_queue at exit.

CUPSD_PID=""
PDF_DIR="$HOME/PDF"

# start_pdf_queue: starts cupsd with the queue "PDF"; PDF_QUEUE is 1 when it runs, else empty.
PDF_QUEUE=""
start_pdf_queue() {
  command -v cupsd >/dev/null && [ "$(id -u)" = 0 ] || return 0
  cupsd -f >"$E2E_WORK/cupsd.log" 2>&1 &
  CUPSD_PID=$!
  for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
  lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd >/dev/null 2>&1 || true
  lpadmin -d PDF >/dev/null 2>&1 || true
  lpstat -p PDF >/dev/null 2>&1 && PDF_QUEUE=1
  return 0
}

stop_pdf_queue() {
  if [ -n "$CUPSD_PID" ]; then
    kill "$CUPSD_PID" 2>/dev/null || true
    wait "$CUPSD_PID" 2>/dev/null || true
    CUPSD_PID=""
  fi
}

pdf_count() { { find "$PDF_DIR" -name '*.pdf' 2>/dev/null || true; } | wc -l; }

# print_page <window title> <print button id> <text the page must hold> <artifact name>:
# presses the button, confirms the print dialog, waits for the queue's new PDF to hold the text,
# keeps it as <artifacts>/<name>.pdf and <name>-1.png, and leaves its text in $E2E_WORK/page.txt
# and its path in PRINTED_PDF.
PRINTED_PDF=""
print_page() {
  local window=$1 button=$2 want=$3 name=$4 before newest
  before=$(pdf_count)
  e2e_robot in "$window" click "$button"
  sleep 1.5
  e2e_robot answer Print ok 10000 >/dev/null 2>&1 || e2e_robot answer Imprimer ok 10000 >/dev/null
  # The queue writes the file a moment later; it is complete once pdftotext reads the text.
  PRINTED_PDF=""
  for _ in $(seq 150); do
    newest=$( (ls -t "$PDF_DIR"/*.pdf 2>/dev/null || true) | head -1)
    if [ -n "$newest" ] && [ "$(pdf_count)" -gt "$before" ] &&
      pdftotext "$newest" - 2>/dev/null | grep -qF -- "$want"; then
      PRINTED_PDF=$newest
      break
    fi
    sleep 0.2
  done
  [ -n "$PRINTED_PDF" ] || fail "no page printed for $name"
  sleep 0.5
  cp "$PRINTED_PDF" "$ZARVO_E2E_ARTIFACTS/$name.pdf"
  pdftoppm -png -r 60 "$PRINTED_PDF" "$ZARVO_E2E_ARTIFACTS/$name"
  pdftotext "$PRINTED_PDF" "$E2E_WORK/page.txt"
}
