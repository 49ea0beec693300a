#!/usr/bin/env bash
# Checks the mutation tool on a throwaway project: a mutant the project's check notices is
# reported as caught, an equivalent one as surviving, and the tree comes back byte for byte after
# a normal run, after SIGTERM, and (at the next start) after SIGKILL.
set -euo pipefail
tool="$(dirname "$(readlink -f "$0")")/mutate-change.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/mutate-selftest.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$work"
git init -q .
git config user.email selftest@example.invalid
git config user.name selftest
mkdir src
cat > check.cpp <<'CPP'
int widest(int a, int b, int margin);
int main() { return widest(3, 5, 2) == 7 && widest(5, 3, 0) == 5 ? 0 : 1; }
CPP
printf '#include <algorithm>\n' > src/widest.cpp
git add -A && git commit -qm base
# Each added line allows exactly one mutant: swapping max's arguments changes nothing (it must
# survive); '+' -> '-' and the default return value are both noticed by check.cpp.
cat >> src/widest.cpp <<'CPP'

int widest(int a, int b, int margin)
{
    const int wider = std::max(a, b);
    const int total = wider + margin;
    return total;
}
CPP
git add -A && git commit -qm change
sum() { sha256sum src/widest.cpp; }
before=$(sum)
build="${CXX:-c++} -o check src/widest.cpp check.cpp"

out=$("$tool" HEAD~1 --build . --build-cmd "$build" --test-cmd ./check 2>&1) || fail "run failed: $out"
echo "$out"
grep -qx "src/widest.cpp:5: swap arguments 'a' and 'b'" <<<"$out" || fail "the equivalent mutant is not listed as a survivor"
grep -q "src/widest.cpp:6: '+' -> '-': caught" <<<"$out" || fail "the planted mutant is not reported as caught"
grep -q "^2 of 3 mutants caught" <<<"$out" || fail "wrong summary"
[ "$(sum)" = "$before" ] || fail "the tree changed"
[ -z "$(git status --porcelain --untracked-files=all -- src)" ] || fail "files left in src: $(git status --porcelain)"

# Interrupted while testing a mutant: the file comes back before the tool exits.
status=0
out=$("$tool" HEAD~1 --build . --no-baseline --build-cmd "$build" --test-cmd 'kill -TERM $PPID; sleep 30' 2>&1) || status=$?
[ "$status" = 130 ] || fail "SIGTERM: exit status $status: $out"
[ "$(sum)" = "$before" ] || fail "SIGTERM left the tree changed"

# Killed outright: the next start restores the file from its backup, and says so.
("$tool" HEAD~1 --build . --no-baseline --build-cmd "$build" --test-cmd 'kill -KILL $PPID; sleep 30' || true) >/dev/null 2>&1
[ "$(sum)" != "$before" ] || fail "SIGKILL: expected the mutant to be left behind for this check"
out=$("$tool" HEAD~1 --list 2>&1) || fail "list failed: $out"
grep -q "restored src/widest.cpp from the backup of an interrupted run" <<<"$out" || fail "no restore reported: $out"
[ "$(sum)" = "$before" ] || fail "the backup did not restore the file"
[ -z "$(git status --porcelain --untracked-files=all -- src)" ] || fail "files left in src after recovery"
echo "mutate-change self-test passed"
