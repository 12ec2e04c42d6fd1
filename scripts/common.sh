# Shared by run.sh and test.sh: installs what is missing and builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libsqlite3-dev sqlite3 fonts-dejavu-core poppler-utils
          desktop-file-utils appstream shared-mime-info libglib2.0-bin man-db)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]
build() {
    local dir="$1"; shift
    forget_stale_moc "$dir"
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
    cmake --build "$dir"
}

# CMake's automatic moc step does not notice a header that appeared since the
# last build (the link then misses its vtable), so when the set of source
# files changes, its generated files are dropped and made afresh.
forget_stale_moc() {
    local dir="$1" stamp="$1/.source-files" now
    now=$(cd "$ROOT" && find . -path ./build\* -prune -o \( -name '*.h' -o -name '*.cpp' \) -print | sort | sha1sum)
    if [ "$(cat "$stamp" 2>/dev/null)" != "$now" ] && [ -d "$dir" ]; then
        find "$dir" -type d -name '*_autogen' -prune -exec rm -rf {} +
    fi
    mkdir -p "$dir"
    echo "$now" > "$stamp"
}
