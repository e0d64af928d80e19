#!/usr/bin/env bash
# The updater's downloader against `curl -o`, both fetching one file from a local nginx on loopback,
# over HTTP and over HTTPS, into the page cache. Prints the best throughput of RUNS runs and the
# peak resident memory of each. Goal: at least 0.8x curl over HTTP, 0.6x over HTTPS, and a peak
# below 64 MiB whatever the size.
#   SIZE_MIB=1024 RUNS=3 HTTP_PORT=18080 HTTPS_PORT=18443 bench/http/http-download-vs-curl.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

size_mib=${SIZE_MIB:-1024}
runs=${RUNS:-3}
http_port=${HTTP_PORT:-18080}
https_port=${HTTPS_PORT:-18443}
build_dir=${KELVRIN_BENCH_BUILD_DIR:-build/bench}

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

scripts/setup
install_missing nginx curl time

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVRIN_BENCHMARKS=ON >/dev/null
cmake --build "$build_dir" --target http_download_bench >/dev/null
downloader=$build_dir/bench/http/http_download_bench

work=$(mktemp -d)
chmod 755 "$work"  # nginx workers read the served file as another user
stop() {
    [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
    rm -rf "$work"
}
trap stop EXIT

sh tests/support/make-test-certificates.sh "$work/certs"
mkdir -p "$work/www" "$work/tmp" "$work/out"
head -c "$((size_mib * 1024 * 1024))" /dev/urandom > "$work/www/file.bin"
chmod 644 "$work/www/file.bin"

cat > "$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log;
events {}
http {
    access_log off;
    default_type application/octet-stream;
    sendfile on;
    client_body_temp_path $work/tmp;
    proxy_temp_path $work/tmp;
    fastcgi_temp_path $work/tmp;
    uwsgi_temp_path $work/tmp;
    scgi_temp_path $work/tmp;
    server {
        listen 127.0.0.1:$http_port;
        root $work/www;
    }
    server {
        listen 127.0.0.1:$https_port ssl;
        ssl_certificate $work/certs/server.pem;
        ssl_certificate_key $work/certs/server.key;
        root $work/www;
    }
}
CONF
nginx -p "$work" -c "$work/nginx.conf"

# Runs one transfer and prints "SECONDS PEAK_KIB"; the target is removed afterwards.
measure() {
    rm -f "$work/out/file.bin"
    /usr/bin/time -f "%e %M" -o "$work/time.txt" timeout 600 "$@" >/dev/null
    cmp -s "$work/www/file.bin" "$work/out/file.bin" || { echo "transfer incomplete: $*" >&2; exit 1; }
    rm -f "$work/out/file.bin"
    cat "$work/time.txt"
}

# Prints "BEST_MIB_PER_S PEAK_MIB" over the runs.
best_of_runs() {
    local best=0 peak=0 seconds kib rate
    for _ in $(seq "$runs"); do
        read -r seconds kib < <(measure "$@")
        rate=$(awk -v m="$size_mib" -v s="$seconds" 'BEGIN { printf "%.1f", (s > 0 ? m / s : 0) }')
        best=$(awk -v a="$best" -v b="$rate" 'BEGIN { print (b > a ? b : a) }')
        peak=$(awk -v a="$peak" -v b="$((kib / 1024))" 'BEGIN { print (b > a ? b : a) }')
    done
    echo "$best $peak"
}

ca=$work/certs/test-authority.pem
echo "file: $size_mib MiB, best of $runs runs"
printf "| %-6s | %-14s | %10s | %13s | %9s |\n" scheme tool "MiB/s" "peak RSS MiB" "vs curl"
printf "|--------|----------------|------------|---------------|-----------|\n"
for scheme in http https; do
    port=$http_port
    [ "$scheme" = https ] && port=$https_port
    url="$scheme://127.0.0.1:$port/file.bin"
    read -r curl_rate curl_peak < <(best_of_runs curl -sS --fail --cacert "$ca" -o "$work/out/file.bin" "$url")
    read -r ours_rate ours_peak < <(best_of_runs "$downloader" "$url" "$work/out/file.bin" "$ca")
    ratio=$(awk -v a="$ours_rate" -v b="$curl_rate" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
    printf "| %-6s | %-14s | %10s | %13s | %9s |\n" "$scheme" "curl -o" "$curl_rate" "$curl_peak" "1.00"
    printf "| %-6s | %-14s | %10s | %13s | %9s |\n" "$scheme" "QHttpDownLoadS" "$ours_rate" "$ours_peak" "$ratio"
done
