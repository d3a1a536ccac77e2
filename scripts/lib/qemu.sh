# Shared by the scripts that run 32-bit programs: where the kernel cannot run them,
# qemu-i386 from the backports suite of the machine's own Debian mirror runs them instead,
# registered with binfmt_misc. Source after lib/common.sh.

# Debian 12's own qemu-user takes about a minute for one run of the program; the one of
# the backports suite is fast enough for the whole suite.
ensure_backports_qemu() {
    local codename version
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
    if command -v qemu-i386 >/dev/null && dpkg --compare-versions "$version" ge 1:8; then
        return 0
    fi
    add_backports_source "$codename" || return 1
    apt_update && apt_get install -y -qq --no-install-recommends \
        "qemu-user/$codename-backports" >/dev/null
}

# Adds the backports suite of the Debian mirror the apt sources already name for the
# release itself, in the same format; fails, saying why, when there is none.
add_backports_source() {
    local codename=$1 sources=/etc/apt/sources.list.d text
    if [ -z "$codename" ]; then
        log "no release code name in /etc/os-release to find its backports suite by"
        return 1
    fi
    if grep -qsE "^[^#]*[[:space:]]$codename-backports([[:space:]]|\$)" /etc/apt/sources.list \
            "$sources"/*.list "$sources"/*.sources; then
        return 0
    fi
    text=$(deb822_backports_source "$codename" "$sources"/*.sources)
    if [ -n "$text" ]; then
        printf '%s\n' "$text" > "$sources/vantrel-backports.sources"
    else
        text=$(one_line_backports_source "$codename" /etc/apt/sources.list "$sources"/*.list)
        if [ -z "$text" ]; then
            log "no apt source names the suite $codename, so none for $codename-backports"
            return 1
        fi
        printf '%s\n' "$text" > "$sources/vantrel-backports.list"
    fi
    log "added the apt source of $codename-backports beside that of $codename"
    unset VANTREL_APT_UPDATED
}

# deb822_backports_source CODENAME FILE...: the first enabled "deb" stanza whose suites
# include CODENAME, for the suite CODENAME-backports.
deb822_backports_source() {
    local codename=$1
    shift
    existing_files "$@" | xargs -r -d '\n' awk -v suite="$codename" '
        BEGIN { RS = ""; FS = "\n" }
        {
            delete field
            for (i = 1; i <= NF; i++) {
                if ($i !~ /^[A-Za-z-]+:/) continue
                colon = index($i, ":")
                key = tolower(substr($i, 1, colon - 1))
                field[key] = substr($i, colon + 1)
                sub(/^[ \t]+/, "", field[key])
            }
            if (tolower(field["enabled"]) == "no" || (" " field["types"] " ") !~ / deb / \
                || (" " field["suites"] " ") !~ (" " suite " ")) next
            printf "Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: %s\n",
                field["uris"], suite, field["components"]
            if (field["signed-by"] != "") printf "Signed-By: %s\n", field["signed-by"]
            exit
        }'
}

# one_line_backports_source CODENAME FILE...: the first "deb" line for the suite CODENAME,
# for the suite CODENAME-backports.
one_line_backports_source() {
    local codename=$1
    shift
    existing_files "$@" | xargs -r -d '\n' awk -v suite="$codename" '
        $1 == "deb" {
            n = 2
            if ($n ~ /^\[/) { while (n < NF && $n !~ /\]$/) n++; n++ }
            if ($(n + 1) == suite) { $(n + 1) = suite "-backports"; print; exit }
        }'
}

existing_files() {
    local file
    for file in "$@"; do
        [ -f "$file" ] && printf '%s\n' "$file"
    done
    return 0
}

# Hands i386 ELF programs (executables and shared objects) to qemu-i386. The F flag makes
# the kernel open the emulator now, so it is found from any root or mount namespace.
register_qemu_i386() {
    local binfmt=/proc/sys/fs/binfmt_misc
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    if [ ! -e "$binfmt/register" ] && ! mount -t binfmt_misc binfmt_misc "$binfmt"; then
        log "cannot mount binfmt_misc to register qemu-i386"
        return 1
    fi
    [ -e "$binfmt/qemu-i386" ] && return 0
    if ! printf ':qemu-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$(command -v qemu-i386)" \
            > "$binfmt/register"; then
        log "binfmt_misc refused the registration of qemu-i386"
        return 1
    fi
    log "registered qemu-i386 for 32-bit programs"
}
