# A minimal Debian root of another release, made with mmdebstrap and kept in
# a cache folder: ensure_debian_root makes or refreshes it, in_debian_root
# runs a command in it; both as root, which as_debian_root runs them as.
# Sourced by scripts/test-debian and scripts/test-release.

as_debian_root() { # function of this file, arguments...
    as_root env CI="${CI:-}" bash -c 'source scripts/lib/packages.sh &&
        source scripts/lib/debian-root.sh && "$@"' as_debian_root "$@"
}

debian_mirror=http://deb.debian.org/debian
debian_security_mirror=http://deb.debian.org/debian-security

# The root is used only while CACHE/ready is there: it goes before anything
# changes the root and comes back once the change is whole, so a root whose
# making or refresh was cut short is made afresh by the next run.
ensure_debian_root() { # cache folder, suite
    local cache=$1 suite=$2
    if [ -f "$cache/ready" ]; then
        rm "$cache/ready"
        echo "Refreshing the Debian $suite root in $cache/root"
        if in_debian_root "$cache" bash -c 'apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive apt-get upgrade -y -qq >/dev/null' >"$cache/refresh.log" 2>&1; then
            touch "$cache/ready"
            return 0
        fi
        echo "Refreshing it failed (the log is $cache/refresh.log); making it afresh"
    fi
    make_debian_root "$cache" "$suite"
}

make_debian_root() { # cache folder, suite
    local cache=$1 suite=$2
    local new=$cache/root.new log=$cache/make.log started=$SECONDS
    echo "Making a minimal Debian $suite root in $cache/root with mmdebstrap (a few minutes)"
    rm -rf "$cache/root" "$new"
    mkdir -p "$cache"
    if ! mmdebstrap --variant=minbase --include=git "$suite" "$new" \
        "deb $debian_mirror $suite main" "deb $debian_mirror $suite-updates main" \
        "deb $debian_security_mirror $suite-security main" >"$log" 2>&1; then
        rm -rf "$new"
        echo "Making the Debian $suite root failed: mmdebstrap could not install it from" \
            "$debian_mirror. What it said first:" >&2
        grep -m 1 -E '^(E|W): ' "$log" >&2 || tail -n 3 "$log" >&2
        echo "Nothing was kept; the next run starts again from the beginning (the log is $log)." >&2
        return 1
    fi
    mv "$new" "$cache/root"
    touch "$cache/ready"
    echo "Made in $((SECONDS - started)) s: $(du -sh "$cache/root" | cut -f1)"
}

# Runs a command in the root, with the mounts a build and wine need, in a
# mount namespace of its own so that they go when the command ends. The
# home's ~/.cache/wattmeter is CACHE/home-cache, which outlives the root.
in_debian_root() { # cache folder, command...
    local cache=$1
    shift
    local root=$cache/root
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mkdir -p "$cache/home-cache" "$root/root/.cache/wattmeter"
    unshare --mount --propagation private --fork bash -c '
        set -e
        root=$1 home_cache=$2
        shift 2
        mount -t proc proc "$root/proc"
        mount -t sysfs sys "$root/sys"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs tmpfs "$root/tmp"
        mount --bind "$home_cache" "$root/root/.cache/wattmeter"
        exec chroot "$root" env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
    ' in_debian_root "$root" "$cache/home-cache" "$@"
}

# Writes FOLDER/NAME, which runs the root's NAME on this machine's files, as
# this user (entering the root through sudo when not root): the root sees
# this machine's / under /host, and each argument that is an absolute path
# (but for /dev and /proc, which the root shares) is mapped.
debian_root_tool() { # cache folder, name, folder
    local root=$1/root name=$2 folder=$3
    local sudo="" user
    user=$(id -u):$(id -g)
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    mkdir -p "$folder"
    as_root mkdir -p "$root/host"
    cat >"$folder/$name" <<TOOL
#!/usr/bin/env bash
args=()
for arg in "\$@"; do
    case \$arg in
    /dev/* | /proc/* | [^/]* | '') args+=("\$arg") ;;
    *) args+=("/host\$arg") ;;
    esac
done
exec $sudo unshare --mount --propagation private --fork bash -c '
    set -e
    mount --rbind / "$root/host"
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    exec chroot --userspec=$user "$root" bash -c "cd \"/host\\\$1\" && shift && exec $name \"\\\$@\"" - "\$@"
' - "\$PWD" "\${args[@]}"
TOOL
    chmod +x "$folder/$name"
}

# Writes FOLDER/bin/NAME, which runs NAME of PACKAGE as another release's
# archive has it, unpacked into FOLDER with an apt set-up of its own there.
# It runs on this machine's libraries.
debian_archive_tool() { # suite, package, name, folder
    local suite=$1 package=$2 name=$3 folder
    folder=$(realpath -m "$4")
    local apt=$folder/apt
    rm -rf "$folder"
    mkdir -p "$folder/bin"
    own_apt "$apt" "deb $debian_mirror $suite main"
    if ! { apt-get "${own_apt[@]}" update -qq &&
        (cd "$folder" && apt-get "${own_apt[@]}" download -qq "$package/$suite"); } >"$folder/log" 2>&1; then
        echo "Could not fetch $package from Debian $suite's archive ($debian_mirror):" >&2
        grep -m 1 '^E: ' "$folder/log" >&2 || tail -n 3 "$folder/log" >&2
        return 1
    fi
    dpkg-deb -x "$folder"/"${package}"_*.deb "$folder/tree"
    ln -s "$(realpath "$folder/tree/usr/bin/$name")" "$folder/bin/$name"
}
