# Qt for Windows, cross-built with mingw-w64 from Debian's own qt6-base
# source, the same version as the Linux build's Qt, whose host tools (moc, rcc,
# uic) it uses. Sourced by the scripts that build for Windows: ensure_windows_qt
# sets windows_qt to the installed Qt, building it first when the cache
# (~/.cache/wattmeter/) does not hold it yet.

# Only what the meter and its tests load: Core, Gui, Widgets, Test, the
# windows platform plugin and the Windows styles.
windows_qt_options=(
    -DBUILD_SHARED_LIBS=ON
    -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_network=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    # No Direct2D platform plugin; Direct2D itself stays on, as the windows
    # plugin's DirectWrite font database is built only with it.
    -DFEATURE_direct2d1_1=OFF
    # No image format plugins: the meter draws its icons itself.
    -DFEATURE_imageformatplugin=OFF
    # Debian's source leaves out the tablet library's header.
    -DFEATURE_tabletevent=OFF
    # With OpenGL off, 6.4's windows plugin does not compile otherwise.
    -DFEATURE_dynamicgl=OFF
    # Otherwise the linker stamps each DLL's export table with the time of
    # the build, and no two builds of this Qt are the same bytes.
    -DCMAKE_SHARED_LINKER_FLAGS=-Wl,--no-insert-timestamp
    -DCMAKE_MODULE_LINKER_FLAGS=-Wl,--no-insert-timestamp
    # Otherwise Qt6Core holds its MIME database gzipped with the time of the
    # build; the meter looks up no MIME types, and Debian's Qt leaves it out.
    -DFEATURE_mimetype_database=OFF
    # Source paths in Qt's messages relative to the folder it was built in,
    # so that its DLLs do not depend on where that was. The folder stands in
    # as "<build folder>", here and in the record of the build.
    "-DCMAKE_C_FLAGS=-ffile-prefix-map=<build folder>/="
    "-DCMAKE_CXX_FLAGS=-ffile-prefix-map=<build folder>/="
)

windows_qt_version() {
    dpkg-query -W -f='${source:Upstream-Version}' qt6-base-dev | sed 's/+.*//'
}

# Where Debian keeps the host Qt's CMake packages, which the cross build
# finds its host tools through.
windows_qt_host_cmake_dir() {
    dirname "$(dirname "$(dpkg -L qt6-base-dev | grep '/Qt6HostInfoConfig.cmake$')")"
}

# Where Qt for Windows is kept, and built: a folder for each version of
# Debian's Qt, set of options above, toolchain file and mingw-w64 compiler,
# all that it is built from. Sets windows_qt and windows_qt_build.
windows_qt_folders() {
    local version key root=${XDG_CACHE_HOME:-$HOME/.cache}/wattmeter
    version=$(windows_qt_version)
    key=$({
        printf '%s\n' "${windows_qt_options[@]}"
        cat packaging/windows/mingw-w64.cmake
        x86_64-w64-mingw32-g++-posix --version 2>/dev/null | head -n 1
    } | sha256sum | cut -c1-12)
    windows_qt=$root/qt-$version-mingw64-$key
    windows_qt_build=$root/qt-build-$version-$key
}

ensure_windows_qt() {
    windows_qt_folders
    [ -f "$windows_qt/.complete" ] && return 0

    # One build at a time: a second run waits for the first and takes its Qt,
    # rather than deleting the half-built tree from under it.
    local lock status=0
    mkdir -p "$(dirname "$windows_qt")"
    exec {lock}>"$windows_qt.lock"
    if ! flock --nonblock "$lock"; then
        echo "Waiting for another run that is building Qt for Windows into $windows_qt"
        flock "$lock"
    fi
    [ -f "$windows_qt/.complete" ] || build_windows_qt "$(windows_qt_version)" "$windows_qt_build" ||
        status=1
    exec {lock}>&-
    return $status
}

build_windows_qt() {
    local version=$1 work=$2
    local log=$work/log
    echo "Building Qt $version for Windows into $windows_qt (about 35 minutes on 2 cores; once per machine)"
    rm -rf "$work" "$windows_qt"
    mkdir -p "$work"
    windows_qt_source "$version" "$work" "$log" || return 1

    local toolchain
    toolchain=$(realpath packaging/windows/mingw-w64.cmake)
    if ! cmake -S "$work"/qt6-base-*/ -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR="$(windows_qt_host_cmake_dir)" \
        -DCMAKE_INSTALL_PREFIX="$windows_qt" "${windows_qt_options[@]//'<build folder>'/$work}" \
        >"$log" 2>&1; then
        windows_qt_failed "configuring" "$log"
        return 1
    fi
    # Ninja's progress, every 100 steps, so a long build shows it moves.
    if ! cmake --build "$work/build" 2>&1 | tee -a "$log" | windows_qt_progress; then
        windows_qt_failed "building" "$log"
        return 1
    fi
    if ! cmake --install "$work/build" >>"$log" 2>&1; then
        windows_qt_failed "installing" "$log"
        return 1
    fi
    windows_qt_record "$work"/qt6-base_*.dsc >"$windows_qt/wattmeter-build.txt"
    touch "$windows_qt/.complete"
    rm -rf "$work"
}

# Debian's qt6-base source package, fetched through an apt set-up of its own
# in the work folder, whose one entry is the deb-src of the archive that the
# host's qt6-base-dev comes from: the system's apt sources stay as they are.
windows_qt_source() {
    local version=$1 work=$2 log=$3
    local apt=$work/apt installed archive
    installed=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    # Under the installed version, marked "***", each archive that has it.
    archive=$(apt-cache policy qt6-base-dev | awk '
        $1 == "***" { mine = 1; next }
        NF == 2 && $2 !~ /^\// { mine = 0; next }
        mine && $2 ~ /^https?:/ { split($3, place, "/"); print $2, place[1], place[2]; exit }')
    if [ -z "$archive" ]; then
        echo "Qt for Windows: apt names no archive that qt6-base-dev $installed comes from," \
            "so its source cannot be fetched." >&2
        return 1
    fi
    echo "  Qt: fetching Debian's qt6-base $installed source from ${archive%% *} (an apt source" \
        "list of its own in $apt; the system's apt sources are not changed)"
    own_apt "$apt" "deb-src $archive"
    if ! { apt-get "${own_apt[@]}" update -qq &&
        (cd "$work" && apt-get "${own_apt[@]}" source -qq "qt6-base=$installed"); } >"$log" 2>&1; then
        windows_qt_failed "fetching the source" "$log"
        return 1
    fi
}

# How this Qt was made, for the notice that goes with the programs built on it.
windows_qt_record() {
    local source_version compiler
    source_version=$(sed -n 's/^Version: //p' "$1")
    compiler=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)
    echo "Qt $(windows_qt_version) (qtbase), built from Debian's qt6-base $source_version source package"
    echo "(apt-get source qt6-base=$source_version) with $compiler, configured with:"
    printf '    %s\n' "${windows_qt_options[@]}"
}

windows_qt_progress() {
    local line step
    while IFS= read -r line; do
        [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]] || continue
        step=${BASH_REMATCH[1]}
        if ((step % 100 == 0 || step == BASH_REMATCH[2])); then
            echo "  Qt: step $step of ${BASH_REMATCH[2]}"
        fi
    done
}

windows_qt_failed() {
    # The failed step and its first lines, where ninja names one.
    if grep -q '^FAILED: ' "$2"; then
        echo "Qt for Windows failed while $1, at this step (the whole log is $2):" >&2
        grep -A 30 -m 1 '^FAILED: ' "$2" | cut -c 1-300 >&2
    else
        echo "Qt for Windows failed while $1; the last lines of $2:" >&2
        tail -n 30 "$2" >&2
    fi
    echo "Run the same script again to retry from the start." >&2
}
