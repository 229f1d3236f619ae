# Installs the Debian packages given that are not installed yet.
# Sourced by the scripts; uses sudo when not root.

# What it takes to build the meter and run it; then to build and run its
# tests, benchmarks and fuzzers too.
run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-ocr-a fonts-liberation
    fonts-kaushanscript)
build_packages=("${run_packages[@]}" clang clang-format libclang-rt-dev libgtest-dev
    libbenchmark-dev git libx11-dev desktop-file-utils appstream locales)
# What it takes to build the Debian package and check it.
package_packages=(dpkg-dev file lintian weston qt6-wayland)
# What it takes to build Qt and the meter for Windows, package them, and run
# them under wine.
windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64 dpkg-dev
    wixl msitools faketime zip unzip osslsigncode openssl socat)
# What it takes to show the window on a screen of its own.
screen_packages=(xvfb xauth xdotool imagemagick)

ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
        echo "Debian's ${missing[*]} must be installed first, which needs root: run this as" \
            "root, or install sudo and be allowed to use it." >&2
        exit 1
    fi

    echo "Installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "$1 needs root: run this as root, or install sudo and be allowed to use it." >&2
        exit 1
    fi
}

# The German locale, whose decimal comma the core tests run the meter under:
# a Debian machine has only C and POSIX until it is made.
ensure_comma_locale() {
    locale -a | grep -qx 'de_DE.utf8' && return 0
    echo "Making the de_DE.UTF-8 locale for the tests"
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# An apt set-up of its own in FOLDER, whose one source is the line given, so
# that the system's apt sources stay as they are: sets own_apt to the
# options that point apt-get there.
own_apt() { # folder, sources.list line
    mkdir -p "$1/lists/partial" "$1/cache/archives/partial" "$1/parts"
    echo "$2" >"$1/sources.list"
    own_apt=(-o "Dir::Etc::SourceList=$1/sources.list" -o "Dir::Etc::SourceParts=$1/parts"
        -o "Dir::State::Lists=$1/lists" -o "Dir::Cache=$1/cache")
}
