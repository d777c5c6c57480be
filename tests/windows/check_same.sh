# Sourced by the scripts that compare a Windows run under Wine with a Linux
# one: check_same WHAT EXPECTED ACTUAL reports a difference and counts it in
# $failures, so a script reports every difference before it fails.
failures=0
check_same() {
  if [[ $2 != "$3" ]]; then
    echo "FAIL: $1 differs" >&2
    diff <(echo "$2") <(echo "$3") >&2 || true
    failures=$((failures + 1))
  fi
}
