# The Debian packages the scripts need, installed when missing, and root
# taken through sudo when not root. To build the meter and run it; then its
# tests, benchmarks and fuzzers too.
run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-ocr-a fonts-liberation
    fonts-kaushanscript)
build_packages=("${run_packages[@]}" clang clang-format libclang-rt-dev libgtest-dev
    libbenchmark-dev git libx11-dev desktop-file-utils appstream locales
    libxtst-dev at-spi2-core dbus-daemon dbus-bin xvfb xauth)
# To build the Debian package and check it.
package_packages=(dpkg-dev file lintian weston qt6-wayland procps)
# To build Qt and the meter for Windows, package them, run them under wine,
# and sign and check the packages, in the Debian 13 root.
windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64 dpkg-dev
    wixl msitools faketime zip unzip procps fonts-wine osslsigncode openssl socat ca-certificates)
# To show the window on a screen of its own.
screen_packages=(xvfb xauth xdotool imagemagick)
# Stops at once, saying why, where root cannot be had.
needs_root() { # what it is needed for
    [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null || {
        echo "$0 $1, which needs root: run it as root, or install sudo and be allowed to use it." >&2 && exit 1
    }
}
as_root() { needs_root "runs $1" && if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    needs_root "needs Debian's ${missing[*]} installed first"
    echo "Installing ${missing[*]}"
    # Another run's install is waited for: apt-get waits for the package
    # database's lock, but not, while updating, for the lists' (its lock
    # file's flock, which apt itself leaves alone).
    as_root flock /var/lib/apt/lists/lock sh -c 'apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
            --no-install-recommends "$@" >/dev/null' - "${missing[@]}"
}

# Runs the command given when the script ends, interrupted too.
at_exit() { trap "$1" EXIT && trap 'exit 130' INT && trap 'exit 143' TERM; }
# The German locale, whose decimal comma the core tests run the meter under:
# a Debian machine has only C and POSIX until it is made.
ensure_comma_locale() {
    locale -a | grep -qx 'de_DE.utf8' ||
        { echo "Making the de_DE.UTF-8 locale for the tests" && as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8; }
}
