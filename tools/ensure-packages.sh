# Sourced by run.sh, test.sh and .ci/run: installs the Debian packages of
# tools/packages.txt (or of the list file named, relative to tools/) that are
# missing, and nothing when all are there.
ensure_packages() {
    local list missing=()
    list=$(grep -v '^#' "$(dirname "${BASH_SOURCE[0]}")/${1:-packages.txt}" | grep -v '^$')
    for pkg in $list; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}
