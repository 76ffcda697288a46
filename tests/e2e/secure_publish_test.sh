#!/usr/bin/env bash
# Publishing the example site over FTP with TLS to ProFTPD, whose self-signed
# certificate the test makes: refused with its fingerprint (exit 3) until
# `trust --yes` records it, then the site arrives whole.
set -uo pipefail
updater=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"
# shellcheck source=../../tools/example_site.sh
source "$root/tools/example_site.sh"
ftpd_pid=""
on_exit() {
    stop_servers
    [[ -n $ftpd_pid ]] && kill "$ftpd_pid" 2>/dev/null
}
start_example_site || {
    echo "FAIL: the local servers did not start" >&2
    exit 1
}
read -r ftpd_port ftpd_pid < <(/usr/bin/python3 "$root/tests/support/test_servers.py" proftpd \
    "$work/ftpd" zebulons 2>"$work/ftpd.err")
[[ -n $ftpd_pid ]] || {
    echo "FAIL: ProFTPD did not start: $(cat "$work/ftpd.err")" >&2
    exit 1
}
published="$work/ftpd/root/quenmark"
mkdir -p "$published"
sed -i "1s|.*|ftpes://127.0.0.1:$ftpd_port\r|" "$main/settings.dat"
fingerprint=$(openssl x509 -noout -fingerprint -sha256 -in "$work/ftpd/cert.pem" | sed 's/.*=//')

check_exit "update to a server not yet trusted" 3 "$updater" update --folder "$main" --timeout 120
check "the fingerprint is named: $(cat "$work/out" "$work/err")" \
    grep -q "fingerprint is $fingerprint\." "$work/out" "$work/err"
check "nothing arrived at a server not trusted" test -z "$(ls -A "$published")"
check "the failure is a message on standard error: $(cat "$work/err")" \
    grep -q "^Upload failed: Login to 127.0.0.1 port $ftpd_port failed: The certificate" "$work/err"
grep -q "Uploading now" "$work/err" && fail "an uploading message after the upload had ended"

check_exit "trust, answered no" 1 "$updater" trust --folder "$main" </dev/null
check "trust shows the fingerprint" grep -qxF "SHA-256 fingerprint: $fingerprint" "$work/out"
check "nothing recorded without yes" test ! -e "$main/trusted.pem"
check_exit "trust --yes" 0 "$updater" trust --folder "$main" --yes
check "trusted.pem holds the certificate" grep -qF "$(sed -n 2p "$work/ftpd/cert.pem")" \
    "$main/trusted.pem"
check_exit "trust once more" 0 "$updater" trust --folder "$main"
check "trusted already" grep -qxF "The server is trusted already." "$work/out"

check_exit "update after trust" 0 "$updater" update --folder "$main" --timeout 120
check "the files are counted" grep -qxF "26 of 26 files" "$work/out"
for page in "${pages[@]}"; do
    cmp -s <(tr -d '\r' <"$main/upload/$page") "$published/$page" || fail "$page did not arrive whole"
done
cmp -s "$main/upload/tarvo.jpg" "$published/tarvo.jpg" || fail "tarvo.jpg did not arrive unchanged"
arrived=$(find "$published" -type f | wc -l)
[[ $arrived -eq 26 ]] || fail "$arrived files arrived, 26 expected"
finish
