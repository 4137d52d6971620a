# Sourced by the test scripts. A test that cannot run for want of a tool is skipped (exit 77
# for ctest); under CI=true it fails instead, so that CI never counts a test that did not run.
cannot_run() {
    echo "$*"
    if [ "${CI:-}" = true ]; then
        echo "CI=true: failing instead of skipping (scripts/install-deps test installs it)"
        exit 1
    fi
    exit 77
}
