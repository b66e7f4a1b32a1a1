# The end-to-end scripts' shared checking: sourced, not run. The caller keeps `passes` and
# `failures` and reports them at the end.

wait_for() { # wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

check() { # check NAME WHAT COMMAND...: counts and prints the outcome; false when it failed
    local name=$1 what=$2
    shift 2
    if "$@"; then
        echo "ok: $name: $what"
        passes=$((passes + 1))
    else
        echo "FAILED: $name: $what"
        failures=$((failures + 1))
        return 1
    fi
}
