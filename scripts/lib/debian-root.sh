# A minimal Debian root of another release, made with mmdebstrap in a cache
# folder; ensure_debian_root runs as root.

# The archives this machine's apt reads Debian and its security updates
# from, as apt lists its sources: a machine with a mirror or proxy of its own
# uses it for the other release too. Sets debian_mirror and
# debian_security_mirror.
find_debian_archives() {
    read -r debian_mirror debian_security_mirror < <(apt-cache policy | awk '
        $2 ~ /^[a-z+]+:\/\// { uri = $2; next }
        $1 == "release" && /l=Debian,/ && !main { main = uri }
        $1 == "release" && /l=Debian-Security,/ && !security { security = uri }
        END { print main, security }')
    [ -n "${debian_security_mirror:-}" ] || {
        echo "apt lists no Debian archive and security archive among this machine's sources" \
            "(apt-cache policy), so no Debian root can be made from them." >&2 && return 1
    }
}
# The root is used only while CACHE/ready is there: it goes before anything
# changes the root and comes back once the change is whole, so a root whose
# making or refresh was cut short is made afresh by the next run. Each
# command in the root holds CACHE/lock shared (in_debian_root); a change
# holds it alone, and a refresh is left for later while the root is in use.
ensure_debian_root() { # cache folder, suite
    local cache=$1 suite=$2 new=$1/root.new log=$1/make.log started=$SECONDS lock holding_root=1
    # Refreshed at most once an hour, as many steps of a run enter it.
    [ ! -f "$cache/ready" ] || [ -n "$(find "$cache/ready" -mmin +60)" ] || return 0
    mkdir -p "$cache"
    exec {lock}>"$cache/lock"
    if [ -f "$cache/ready" ]; then
        flock --nonblock "$lock" || return 0
        rm "$cache/ready"
        echo "Refreshing the Debian $suite root in $cache/root"
        if in_debian_root "$cache" root / bash -c 'apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive apt-get upgrade -y -qq >/dev/null' >"$cache/refresh.log" 2>&1; then
            touch "$cache/ready"
            return 0
        fi
        echo "Refreshing it failed (the log is $cache/refresh.log); making it afresh"
    fi
    flock "$lock"
    [ ! -f "$cache/ready" ] || return 0 # made by the run waited for
    find_debian_archives || return 1
    echo "Making a minimal Debian $suite root in $cache/root with mmdebstrap from $debian_mirror"
    rm -rf "$cache/root" "$new"
    # With the sources too, from which Qt for Windows is built.
    if ! mmdebstrap --variant=minbase --include=git "$suite" "$new" {deb,deb-src}" $debian_mirror $suite main" \
        {deb,deb-src}" $debian_mirror $suite-updates main" {deb,deb-src}" $debian_security_mirror $suite-security main" \
        >"$log" 2>&1; then
        rm -rf "$new"
        echo "Making the Debian $suite root failed: mmdebstrap could not install it from" \
            "$debian_mirror; nothing was kept (the log is $log). What it said first:" >&2
        grep -m 1 -E '^(E|W): ' "$log" >&2 || tail -n 3 "$log" >&2
        return 1
    fi
    mv "$new" "$cache/root"
    touch "$cache/ready"
    echo "Made in $((SECONDS - started)) s: $(du -sh "$cache/root" | cut -f1)"
}

# Runs a command in the root as root or as this user, in FOLDER, with this
# machine's files seen under /host (but /dev, /proc, /sys and /tmp): the
# user's home, cache and FOLDER among them. In a mount namespace of its own,
# so that the mounts go with the command.
in_debian_root() { # cache folder, root or user, folder, command...
    local user=0:0 home=/root cache=/root/.cache folder=$3
    if [ "$2" = user ]; then
        user=$(id -u):$(id -g) home=/host$HOME cache=/host${XDG_CACHE_HOME:-$HOME/.cache} folder=/host$3
    fi
    # The lock taken here but while ensure_debian_root holds it alone.
    local lock=(flock --shared --close "$1/lock")
    [ -z "${holding_root:-}" ] || lock=()
    as_root "${lock[@]}" unshare --mount --propagation private --fork bash -c '
        set -e
        root=$1 user=$2 folder=$3 home=$4 cache=$5
        shift 5
        cp /etc/resolv.conf "$root/etc/resolv.conf"
        mkdir -p "$root/host"
        mount --rbind / "$root/host"
        mount -t proc proc "$root/proc"
        mount -t sysfs sys "$root/sys"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs tmpfs "$root/tmp"
        exec chroot --userspec="$user" "$root" env -i HOME="$home" XDG_CACHE_HOME="$cache" \
            LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" WATTMETER_IN_DEBIAN_13=1 \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            bash -c "cd \"\$0\" && exec \"\$@\"" "$folder" "$@"
    ' - "$1/root" "$user" "$folder" "$home" "$cache" "${@:4}"
}

# The Debian 13 root, made or refreshed: that of scripts/test-debian, in
# which the Windows build runs, so that every host builds the same bytes.
debian_13_cache=${XDG_CACHE_HOME:-$HOME/.cache}/wattmeter/debian-13
ensure_debian_13() {
    ensure_packages mmdebstrap
    mkdir -p "$debian_13_cache" # the user's, as the rest of the cache is
    as_root env CI="${CI:-}" bash -c 'source scripts/lib/packages.sh && source scripts/lib/debian-root.sh &&
        ensure_debian_root "$@"' - "$debian_13_cache" trixie
}

# Unpacks into FOLDER the package NAME of another release's archive, whose
# programs, in FOLDER/usr/bin, run on this machine's libraries. Fetched with
# an apt set-up of its own there: the system's apt sources stay as they are.
debian_archive_tool() { # suite, name, folder
    find_debian_archives || return 1
    local apt=(-o "Dir::Etc::SourceList=$3/apt/sources.list" -o "Dir::Etc::SourceParts=$3/apt/parts"
        -o "Dir::State::Lists=$3/apt/lists" -o "Dir::Cache=$3/apt/cache")
    rm -rf "$3" && mkdir -p "$3/apt/lists/partial" "$3/apt/cache/archives/partial" "$3/apt/parts"
    echo "deb $debian_mirror $1 main" >"$3/apt/sources.list"
    { apt-get "${apt[@]}" update -qq && (cd "$3" && apt-get "${apt[@]}" download -qq "$2/$1"); } >"$3/log" 2>&1 || {
        echo "Could not fetch $2 from Debian $1's archive ($debian_mirror):" >&2
        grep -m 1 '^E: ' "$3/log" >&2 || tail -n 3 "$3/log" >&2
        return 1
    }
    dpkg-deb -x "$3/$2"_*.deb "$3"
}
