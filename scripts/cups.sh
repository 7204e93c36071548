#!/usr/bin/env bash
# Starts cupsd (when it is not running) with virtual PDF printers, the first
# one the default, so printing tests print through a real CUPS queue.
# Printed jobs land as PDF files in $QUILLON_PRINT_DIR (default /tmp/quillon-print).
set -euo pipefail
OUT=${QUILLON_PRINT_DIR:-/tmp/quillon-print}
mkdir -p "$OUT"
chmod 777 "$OUT"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! lpstat -r >/dev/null 2>&1 || ! lpstat -r | grep -q "is running"; then
  $SUDO sed -i 's/^#\?FileDevice.*/FileDevice Yes/' /etc/cups/cups-files.conf
  grep -q '^FileDevice Yes' /etc/cups/cups-files.conf || echo 'FileDevice Yes' | $SUDO tee -a /etc/cups/cups-files.conf >/dev/null
  $SUDO /usr/sbin/cupsd
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.2
  done
fi
PPD=lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd
for name in QuillonTest QuillonTest2; do
  lpstat -p "$name" >/dev/null 2>&1 || \
    $SUDO lpadmin -p "$name" -E -v "file://$OUT/$name.pdf" -m "$PPD"
done
lpoptions -d QuillonTest >/dev/null
lpstat -d
