#!/usr/bin/env bash
# Starts a private cupsd with a PDF queue as the default printer, for the end-to-end
# printing test, or stops it again:
#   scripts/cups-pdf-printer.sh start | stop
# Needs root (cupsd, lpadmin); installs cups and printer-driver-cups-pdf when missing.
set -uo pipefail
source "$(dirname "$0")/setup.sh"
case ${1:-} in
start)
    if [[ $(id -u) -ne 0 ]]; then
        echo "cups-pdf-printer: not root; the end-to-end printing test will skip" >&2
        exit 0
    fi
    velmora_install_missing cups printer-driver-cups-pdf >/dev/null || exit 1
    running() { lpstat -r 2>/dev/null | grep -q 'is running'; }
    if ! running; then
        cupsd -f >/tmp/velmora-cupsd.log 2>&1 &
        echo $! >/tmp/velmora-cupsd.pid
        for _ in $(seq 50); do running && break; sleep 0.2; done
    fi
    # Without a scheduler the printing test skips and says why; the rest still runs.
    if ! running || ! lpadmin -p VelmoraPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null \
        || ! lpadmin -d VelmoraPDF; then
        echo "cups-pdf-printer: no CUPS scheduler could be started; the end-to-end printing test will skip" >&2
        exit 0
    fi
    echo "cups-pdf-printer: default printer VelmoraPDF ready"
    ;;
stop)
    [[ $(id -u) -ne 0 ]] && exit 0
    lpadmin -x VelmoraPDF 2>/dev/null
    if [[ -f /tmp/velmora-cupsd.pid ]]; then
        kill "$(cat /tmp/velmora-cupsd.pid)" 2>/dev/null
        rm -f /tmp/velmora-cupsd.pid
    fi
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
