# Sourced by the scripts that build the meter for Windows and run it under
# wine: build_for_windows cross-builds it (the "windows" CMake preset) against
# the Qt of windows-qt.sh; start_wine gives the run a wine prefix of its own.
source scripts/lib/packages.sh
source scripts/lib/windows-qt.sh

build_for_windows() {
    ensure_packages "${build_packages[@]}" "${windows_packages[@]}"
    ensure_windows_qt
    export WATTMETER_WINDOWS_QT=$windows_qt
    WATTMETER_QT_HOST_CMAKE_DIR=$(windows_qt_host_cmake_dir)
    export WATTMETER_QT_HOST_CMAKE_DIR
    # Where a program run from the build finds Qt's DLLs and the compiler's.
    local dll dirs=("Z:$windows_qt/bin")
    for dll in libstdc++-6.dll libwinpthread-1.dll; do
        dirs+=("Z:$(dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")")")")
    done
    WINEPATH=$(IFS=';' && echo "${dirs[*]}")
    export WINEPATH
    # CMake keeps the Qt it first found (Qt6_DIR and the rest) in its cache,
    # whatever Qt it is given later: a folder configured with another Qt is
    # configured afresh, so that the program, its DLLs and the notice all
    # come from the Qt ensured above.
    local fresh=()
    grep -qxF "Qt6_DIR:PATH=$windows_qt/lib/cmake/Qt6" build/windows/CMakeCache.txt 2>/dev/null ||
        fresh=(--fresh)
    cmake --preset windows "${fresh[@]}" >/dev/null
    cmake --build --preset windows
}

# A new wine prefix holds a copy of every wine DLL, some 700 MB, and a full
# disk shows only as wine failing to load kernel32.dll. So the prefix lives in
# memory where there is room for it, and goes with stop_wine, at the latest
# when the script ends.
start_wine() {
    local needed_mb=1000 parent=$PWD/build
    free_mb() { df --output=avail -m "$1" | tail -n 1; }
    mkdir -p build
    if [ -w /dev/shm ] && [ "$(free_mb /dev/shm)" -gt "$needed_mb" ]; then
        parent=/dev/shm
    elif [ "$(free_mb "$parent")" -lt "$needed_mb" ]; then
        echo "Wine needs about $needed_mb MB for its prefix; the disk has $(free_mb "$parent") MB free." >&2
        return 1
    fi
    export WINEDEBUG=-all
    # No menu entries on the Linux desktop for what is installed, and no
    # offer to fetch Mono or Gecko.
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    hide_shipped_fonts_from_wine
    WINEPREFIX=$(mktemp -d "$parent/wattmeter-wine.XXXXXX")
    export WINEPREFIX
    # Interrupted too, the run takes its wine server and prefix with it.
    trap stop_wine EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    start_wine_server
}

# Under wine, as on a Windows that has neither, the two fonts the meter ships
# beside its program must be found only there: wine is shown the folders of
# this system's fonts less theirs (it reads whole folders, past fontconfig's
# rejections). Set before the prefix is made, since wine keeps the fonts its
# first program finds in the prefix and later programs take them from there.
hide_shipped_fonts_from_wine() {
    local config=$PWD/build/wine-fonts.conf
    {
        echo '<fontconfig>'
        env -u FONTCONFIG_FILE fc-list --format '%{file}\n' | xargs -r -d '\n' dirname | sort -u |
            grep -v -e '/ocr-a$' -e '/kaushanscript$' | sed 's|.*|  <dir>&</dir>|'
        echo '</fontconfig>'
    } >"$config"
    export FONTCONFIG_FILE=$config
}

# One lasting wine server for the whole run, so that each program does not
# pay for starting its own. It and wine's services must not hold the script's
# output open, so what they print goes to a log, shown if setting up fails.
# Plain wineboot: wine already sets up a new prefix before running it, and
# "--init" would start a second service manager, beside which COM's service
# fails to start, costing every program that uses COM (Qt's do) 20 s.
start_wine_server() {
    local log=$PWD/build/wine-setup.log
    if ! { wineserver --persistent && wineboot; } >"$log" 2>&1; then
        echo "wine could not set up its prefix in $WINEPREFIX:" >&2
        cat "$log" >&2
        return 1
    fi
}

# For settings that wine reads only as its server starts.
restart_wine_server() {
    wineserver --kill && wineserver --wait && start_wine_server
}

# The display's DPI in wine's prefix, 96 at 100 %, which Qt takes its scale
# from when a program starts. Wine 8 reads it as each program starts, wine
# 10 only as its server starts.
set_wine_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    restart_wine_server
}

# Windows' high-contrast scheme, "black" or "white", as the system colours,
# with visual styles off as the high-contrast themes of Windows 7 turn them
# off: Qt takes its palette from them. Wine reads them when its server starts.
set_wine_high_contrast() {
    local pair colours=("Hilight=26 235 255" "HilightText=0 0 0" "GrayText=63 242 63")
    local ink="255 255 255" ground="0 0 0"
    if [ "$1" = white ]; then
        colours=("Hilight=55 0 110" "HilightText=255 255 255" "GrayText=96 0 0")
        ink="0 0 0" ground="255 255 255"
    fi
    colours+=("Window=$ground" "ButtonFace=$ground" "WindowText=$ink" "ButtonText=$ink"
        "WindowFrame=$ink" "ButtonHilight=$ink" "ButtonDkShadow=$ink" "ButtonShadow=128 128 128")
    for pair in "${colours[@]}"; do
        wine reg add 'HKCU\Control Panel\Colors' /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1
    done
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
        /v ThemeActive /d 0 /f >/dev/null 2>&1
    restart_wine_server
}

stop_wine() { # and every program running in it
    [ -n "${WINEPREFIX:-}" ] || return 0
    wineserver --kill && wineserver --wait
    rm -rf "$WINEPREFIX"
    unset WINEPREFIX
}
