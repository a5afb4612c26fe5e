# Shared by the README's commands: installs what a fresh Debian 12 machine lacks, then configures
# and builds the project in $HALVORNSYNC_BUILD_DIR (default: build/ in the repository).

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_dir=${HALVORNSYNC_BUILD_DIR:-$repo_root/build}

debian_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
    qt6-l10n-tools qt6-translations-l10n qt6-httpserver-dev qt6-websockets-dev
    libarchive-dev libarchive-tools libpugixml-dev librsvg2-bin
    xvfb xauth dbus openssl curl
)

# Installs the given Debian packages, the project's own without arguments, when missing.
install_packages() {
    [ $# -gt 0 ] || set -- "${debian_packages[@]}"
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing Debian packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures $build_dir the first time, with the given CMake options (RelWithDebInfo without
# any).
configure_project() {
    if [ ! -f "$build_dir/build.ninja" ]; then
        [ $# -gt 0 ] || set -- -DCMAKE_BUILD_TYPE=RelWithDebInfo
        cmake -S "$repo_root" -B "$build_dir" -G Ninja "$@"
    fi
}

# Configures $build_dir like configure_project and builds all of it.
build_project() {
    configure_project "$@"
    cmake --build "$build_dir" --parallel "$(nproc)"
}

# Starts the stand-in vendor service in the background on a free loopback port, keeping its files
# in $1 (further arguments go to the service). Sets vendor_service_pid and vendor_service_url; the
# service's own output, with the sample serials, is in $1/service.log.
start_vendor_service() {
    local data_dir=$1
    shift
    mkdir -p "$data_dir"
    local log="$data_dir/service.log"
    "$build_dir/tools/vendor-service/halvornsync-vendor-service" \
        --port 0 --data "$data_dir" "$@" >"$log" 2>&1 &
    vendor_service_pid=$!
    vendor_service_url=
    # Making large sample maps the first time can take a while; wait as long as the service lives.
    while [ -z "$vendor_service_url" ]; do
        if ! kill -0 "$vendor_service_pid" 2>/dev/null; then
            echo "The stand-in vendor service did not start:" >&2
            cat "$log" >&2
            vendor_service_pid=
            return 1
        fi
        sleep 0.2
        vendor_service_url=$(sed -n 's/^listening on //p' "$log")
    done
}

stop_vendor_service() {
    if [ -n "${vendor_service_pid:-}" ]; then
        kill "$vendor_service_pid" 2>/dev/null || true
        wait "$vendor_service_pid" 2>/dev/null || true
        vendor_service_pid=
    fi
}
