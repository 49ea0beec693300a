#!/usr/bin/env python3
"""Mutation pass over the lines a change adds or alters under src/.

Each mutant is one small plausible mistake on a changed line (a negated or dropped condition, a
swapped comparison, a constant off by one, a dropped call, swapped arguments, a default return
value). The tool applies one at a time, rebuilds incrementally, runs the tests and reports the
mutants no test noticed: each survivor asks "what test would have failed if this line were
wrong?". The tree is always put back byte for byte, also after an interruption (a backup in the
git folder is restored at the next start).

Standard library only, so it runs wherever python3 does.
"""

import argparse
import hashlib
import json
import os
import random
import re
import shlex
import signal
import subprocess
import sys
import time

CPP_SUFFIXES = ('.cpp', '.cc', '.cxx', '.h', '.hpp', '.hh')

# Lines that only log, assert (compiled out in release builds) or are not code a test can judge.
SKIP_LINE = re.compile(
    r'\bq(C)?(Debug|Info|Warning|Critical|Fatal)\b|std::c(err|log)\b|\bfprintf\s*\(\s*stderr'
    r'|\bQ_ASSERT(_X)?\b|\bassert\s*\(|\bstatic_assert\b|\bQ_UNUSED\b|\bQ_OBJECT\b|\bQ_DISABLE_COPY')

KEYWORDS = {
    'if', 'else', 'while', 'for', 'do', 'switch', 'case', 'default', 'return', 'break', 'continue',
    'goto', 'throw', 'try', 'catch', 'new', 'delete', 'sizeof', 'alignof', 'alignas', 'decltype',
    'typeid', 'noexcept', 'static_cast', 'dynamic_cast', 'const_cast', 'reinterpret_cast',
    'const', 'constexpr', 'consteval', 'constinit', 'static', 'inline', 'auto', 'void', 'bool',
    'char', 'int', 'long', 'short', 'unsigned', 'signed', 'float', 'double', 'struct', 'class',
    'enum', 'union', 'namespace', 'using', 'typedef', 'typename', 'template', 'operator',
    'virtual', 'override', 'final', 'public', 'private', 'protected', 'friend', 'explicit',
    'mutable', 'volatile', 'extern', 'this', 'true', 'false', 'nullptr', 'co_return',
    'co_await', 'co_yield', 'requires', 'concept', 'and', 'or', 'not',
}

OPERATORS = sorted([
    '<=>', '<<=', '>>=', '->*', '...', '->', '++', '--', '<<', '>>', '<=', '>=', '==', '!=', '&&',
    '||', '+=', '-=', '*=', '/=', '%=', '&=', '|=', '^=', '::', '.*',
], key=len, reverse=True)

SWAPS = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '&&': '||', '||': '&&', '+': '-', '-': '+',
         '==': '!=', '!=': '=='}

DEFAULT_LIKE_RETURNS = {'{}', 'false', '0', 'nullptr', '0.0', 'QString()', 'std::nullopt', '{ }'}

PP_NUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|[0-9A-Za-z_.']|)*")
INTEGER = re.compile(r'^(0[xX][0-9a-fA-F]+|0|[1-9][0-9]*)([uUlLzZ]*)$')
IDENT = re.compile(r'[A-Za-z_][A-Za-z_0-9]*')
STRING_PREFIX = re.compile(r'(?:u8|u|U|L)?R?"')


class Token:
    __slots__ = ('kind', 'text', 'line', 'col', 'end', 'space_before', 'space_after')

    def __init__(self, kind, text, line, col, end, space_before):
        self.kind, self.text, self.line, self.col, self.end = kind, text, line, col, end
        self.space_before = space_before
        self.space_after = False


def tokenize(text):
    """Tokens of a C++ source without comments; string and character literals are one token each.

    Returns (tokens, preprocessor line numbers). Line numbers start at 1; columns index the line.
    A token that spans lines (a raw string) is marked on its first line with kind 'string' and
    its lines are reported in `multiline` so that nothing on them is mutated.
    """
    tokens, preproc, multiline = [], set(), set()
    lines = text.split('\n')
    line_starts, pos = [], 0
    for ln in lines:
        line_starts.append(pos)
        pos += len(ln) + 1

    def where(offset):
        # Binary search for the line holding offset.
        lo, hi = 0, len(line_starts) - 1
        while lo < hi:
            mid = (lo + hi + 1) // 2
            if line_starts[mid] <= offset:
                lo = mid
            else:
                hi = mid - 1
        return lo + 1, offset - line_starts[lo]

    i, n, at_line_start, space = 0, len(text), True, True
    while i < n:
        c = text[i]
        if c == '\n':
            at_line_start, space = True, True
            i += 1
            continue
        if c in ' \t\r\f\v':
            space = True
            i += 1
            continue
        if text.startswith('//', i):
            j = text.find('\n', i)
            i = n if j < 0 else j
            space = True
            continue
        if text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            first, _ = where(i)
            last, _ = where(j - 1)
            if last > first:
                multiline.update(range(first + 1, last + 1))
            i, space = j, True
            continue
        if c == '#' and at_line_start:
            # A preprocessor line, with its continuations.
            j = i
            while True:
                k = text.find('\n', j)
                if k < 0:
                    k = n
                line_no, _ = where(i if j == i else j)
                preproc.add(line_no)
                if k > 0 and text[k - 1] == '\\' and k < n:
                    j = k + 1
                    continue
                break
            i = k
            continue
        at_line_start = False
        line_no, col = where(i)
        m = STRING_PREFIX.match(text, i) if c in 'uULR"' else None
        if m:
            j = m.end()
            if 'R' in m.group(0):
                close = text.find('(', j)
                delim = text[j:close]
                end = text.find(')' + delim + '"', close)
                end = n if end < 0 else end + len(delim) + 2
            else:
                end = j
                while end < n and text[end] != '"' and text[end] != '\n':
                    end += 2 if text[end] == '\\' else 1
                end = min(end + 1, n)
            last, _ = where(end - 1)
            if last > line_no:
                multiline.update(range(line_no, last + 1))
            tokens.append(Token('string', text[i:end], line_no, col, col + (end - i), space))
            i, space = end, False
            continue
        if c == "'":
            end = i + 1
            while end < n and text[end] != "'" and text[end] != '\n':
                end += 2 if text[end] == '\\' else 1
            end = min(end + 1, n)
            tokens.append(Token('char', text[i:end], line_no, col, col + (end - i), space))
            i, space = end, False
            continue
        m = IDENT.match(text, i)
        if m:
            tokens.append(Token('ident', m.group(0), line_no, col, col + len(m.group(0)), space))
            i, space = m.end(), False
            continue
        m = PP_NUMBER.match(text, i)
        if m:
            tokens.append(Token('number', m.group(0), line_no, col, col + len(m.group(0)), space))
            i, space = m.end(), False
            continue
        for op in OPERATORS:
            if text.startswith(op, i):
                break
        else:
            op = c
        tokens.append(Token('op', op, line_no, col, col + len(op), space))
        i, space = i + len(op), False
    for a, b in zip(tokens, tokens[1:]):
        a.space_after = b.space_before
    if tokens:
        tokens[-1].space_after = True
    return tokens, preproc, multiline


class Mutant:
    __slots__ = ('path', 'line', 'edits', 'description')

    def __init__(self, path, line, edits, description):
        # edits: (start column, end column, replacement) on `line`, applied right to left.
        self.path, self.line, self.edits, self.description = path, line, edits, description

    def key(self):
        return (self.path, self.line, self.edits[0][0], self.description)

    def label(self):
        return f'{self.path}:{self.line}: {self.description}'

    def apply(self, text):
        lines = text.split('\n')
        s = lines[self.line - 1]
        for start, end, repl in sorted(self.edits, key=lambda e: e[0], reverse=True):
            s = s[:start] + repl + s[end:]
        lines[self.line - 1] = s
        return '\n'.join(lines)


def matching(toks, i):
    """Index of the bracket closing toks[i] on the same list, or -1."""
    opener = toks[i].text
    closer = {'(': ')', '[': ']', '{': '}'}[opener]
    depth = 0
    for j in range(i, len(toks)):
        if toks[j].text == opener:
            depth += 1
        elif toks[j].text == closer:
            depth -= 1
            if depth == 0:
                return j
    return -1


def looks_templated(toks, text):
    """True when a '<' or '>' on this line may belong to a template, cast or include."""
    if re.search(r'\btemplate\b|_cast\b|#\s*include|\boperator\s*[<>]', text):
        return True
    allowed = {'::', ',', '*', '&', 'const', '<', '>', '>>'}
    for i, t in enumerate(toks):
        if t.text != '<' or i == 0 or toks[i - 1].kind != 'ident':
            continue
        depth = 0
        for u in toks[i:]:
            if u.text == '<':
                depth += 1
            elif u.text in ('>', '>>'):
                depth -= 1 if u.text == '>' else 2
                if depth <= 0:
                    return True
            elif u.kind in ('ident', 'number') or u.text in allowed:
                continue
            else:
                break
    return False


def line_mutants(path, line_no, toks, text, prev_end):
    """The mutants one changed line allows. `toks` are the code tokens on that line only."""
    out = []
    if not toks or SKIP_LINE.search(text):
        return out
    templated = None

    # Conditions of an if.
    for i, t in enumerate(toks):
        if t.text != 'if' or i + 1 >= len(toks) or toks[i + 1].text != '(':
            continue
        close = matching(toks, i + 1)
        if close < 0 or close == i + 2:
            continue
        inner = toks[i + 2:close]
        if any(u.text in (';', '=') for u in inner):
            continue  # an init-statement or a declaration, not a plain condition
        a, b = toks[i + 1].end, toks[close].col
        cond = text[a:b]
        out.append(Mutant(path, line_no, [(a, b, f'!({cond})')], 'negate condition'))
        out.append(Mutant(path, line_no, [(a, b, 'true')], 'condition -> true'))
        out.append(Mutant(path, line_no, [(a, b, 'false')], 'condition -> false'))

    # Binary operators.
    for i, t in enumerate(toks):
        if t.kind != 'op' or t.text not in SWAPS or i == 0 or i + 1 >= len(toks):
            continue
        prev, nxt = toks[i - 1], toks[i + 1]
        if prev.text == 'operator' or prev.kind in ('string', 'char') or nxt.kind in ('string', 'char'):
            continue
        operand_end = prev.kind in ('ident', 'number') and prev.text not in KEYWORDS - {'this', 'true', 'false', 'nullptr'} \
            or prev.text in (')', ']')
        if not operand_end:
            continue  # unary + or -, or an operator right after another
        if t.text in ('<', '>', '<=', '>='):
            if templated is None:
                templated = looks_templated(toks, text)
            if templated:
                continue
        if t.text == '&&' and not (t.space_before and t.space_after):
            continue  # more likely an rvalue reference
        if t.text in ('+', '-') and nxt.text in ('+', '-', '='):
            continue
        out.append(Mutant(path, line_no, [(t.col, t.end, SWAPS[t.text])],
                          f"'{t.text}' -> '{SWAPS[t.text]}'"))

    # Integer constants.
    for i, t in enumerate(toks):
        if t.kind != 'number':
            continue
        m = INTEGER.match(t.text)
        if not m:
            continue
        if i > 0 and toks[i - 1].text in ('[',) and i + 1 < len(toks) and toks[i + 1].text == ']' \
                and i > 1 and toks[i - 2].kind == 'ident' and i > 2 and toks[i - 3].kind == 'ident':
            continue  # an array's declared size
        digits, suffix = m.groups()
        hexa = digits.lower().startswith('0x')
        value = int(digits, 16 if hexa else 10)
        for new in (value + 1,):
            if hexa:
                width = len(digits) - 2
                repl = digits[:2] + (f'{new:0{width}x}' if digits[2:].islower() else f'{new:0{width}X}')
            else:
                repl = str(new)
            out.append(Mutant(path, line_no, [(t.col, t.end, repl + suffix)],
                              f'constant {t.text} -> {repl + suffix}'))

    # A call statement dropped: the whole line is one call ending in ';' after a complete statement.
    if prev_end in (';', '{', '}', ':') and toks[-1].text == ';':
        j = 0
        if toks[0].text in ('emit', 'Q_EMIT'):
            j = 1
        if j < len(toks) and toks[j].kind == 'ident' and toks[j].text not in KEYWORDS:
            k = j
            while k + 2 < len(toks) and toks[k + 1].text in ('::', '.', '->') and toks[k + 2].kind == 'ident':
                k += 2
            is_macro = toks[k].text.isupper() and '_' in toks[k].text
            if k + 1 < len(toks) and toks[k + 1].text == '(' and not is_macro:
                close = matching(toks, k + 1)
                inside = toks[k + 2:close]
                declares = any(u.text in KEYWORDS and u.text not in ('this', 'true', 'false', 'nullptr')
                               for u in inside) or any(a.kind == b.kind == 'ident' for a, b in zip(inside, inside[1:]))
                if close == len(toks) - 2 and not declares:
                    out.append(Mutant(path, line_no, [(toks[0].col, toks[-1].end, '')], 'drop call statement'))

    # Two adjacent arguments of the same simple kind swapped.
    for i, t in enumerate(toks):
        if t.text != '(' or i == 0 or toks[i - 1].kind != 'ident' or toks[i - 1].text in KEYWORDS:
            continue
        if toks[i - 1].text.isupper() and '_' in toks[i - 1].text:
            continue
        close = matching(toks, i)
        if close < 0:
            continue
        args, depth, current = [], 0, []
        for u in toks[i + 1:close]:
            if u.text in ('(', '[', '{'):
                depth += 1
            elif u.text in (')', ']', '}'):
                depth -= 1
            if u.text == ',' and depth == 0:
                args.append(current)
                current = []
            else:
                current.append(u)
        args.append(current)
        for a, b in zip(args, args[1:]):
            if len(a) != 1 or len(b) != 1 or a[0].text == b[0].text:
                continue
            x, y = a[0], b[0]
            same = (x.kind == y.kind == 'ident' and x.text not in KEYWORDS and y.text not in KEYWORDS) \
                or (x.kind == y.kind == 'number' and INTEGER.match(x.text) and INTEGER.match(y.text))
            if same:
                out.append(Mutant(path, line_no, [(x.col, x.end, y.text), (y.col, y.end, x.text)],
                                  f"swap arguments '{x.text}' and '{y.text}'"))

    # A returned value replaced by its type's default.
    if toks[0].text == 'return' and toks[-1].text == ';' and len(toks) > 2:
        value = text[toks[1].col:toks[-1].col].strip()
        if value not in DEFAULT_LIKE_RETURNS and not any(u.kind == 'string' for u in toks[1:2]):
            out.append(Mutant(path, line_no, [(toks[1].col, toks[-1].col, '{}')],
                              f"return {{}} instead of '{value if len(value) <= 40 else value[:37] + '...'}'"))
    return out


def file_mutants(path, text, lines_wanted):
    tokens, preproc, multiline = tokenize(text)
    by_line = {}
    for t in tokens:
        by_line.setdefault(t.line, []).append(t)
    src_lines = text.split('\n')
    out = []
    prev_end = '{'
    last_line = 0
    for line_no in sorted(by_line):
        toks = by_line[line_no]
        if line_no in lines_wanted and line_no not in preproc and line_no not in multiline:
            out.extend(line_mutants(path, line_no, toks, src_lines[line_no - 1], prev_end))
        prev_end = toks[-1].text
        last_line = line_no
    del last_line
    return out


def is_test_path(path):
    parts = path.split('/')
    return any(p in ('tests', 'test', 'testing', 'fuzz') for p in parts[:-1]) \
        or re.search(r'(^|_)(tst|tests?)_|_tests?\.|Tests?\.[a-z]+$', parts[-1]) is not None


def changed_lines(tree, base, paths):
    """{path: set of line numbers} of lines added or altered since base, in the working tree."""
    out = subprocess.run(['git', '-C', tree, 'diff', '-U0', '--no-color', '--no-ext-diff', base, '--'] + paths,
                         check=True, capture_output=True, text=True).stdout
    result, current = {}, None
    for line in out.split('\n'):
        if line.startswith('+++ '):
            name = line[4:]
            current = name[2:] if name.startswith('b/') else None
        elif line.startswith('@@') and current:
            m = re.match(r'@@ -\S+ \+(\d+)(?:,(\d+))? @@', line)
            start, count = int(m.group(1)), int(m.group(2) or '1')
            result.setdefault(current, set()).update(range(start, start + count))
    return {p: ls for p, ls in result.items() if p.endswith(CPP_SUFFIXES) and not is_test_path(p)}


# ---- keeping the tree intact ---------------------------------------------------------------------

class Guard:
    """Holds the original bytes of the file being mutated, in memory and in a backup on disk."""

    def __init__(self, tree, state_dir):
        self.tree = tree
        self.dir = state_dir
        self.manifest = os.path.join(state_dir, 'manifest.json')
        self.backup = os.path.join(state_dir, 'original')
        self.current = None  # (path, bytes, sha256, stat)

    @staticmethod
    def _write_synced(path, data):
        tmp = path + '.tmp'
        fd = os.open(tmp, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
        try:
            view = memoryview(data)
            while view:
                written = os.write(fd, view)
                view = view[written:]
            os.fsync(fd)
        finally:
            os.close(fd)
        with open(tmp, 'rb') as f:
            if f.read() != data:
                raise OSError(f'{tmp}: read back differs from what was written')
        os.replace(tmp, path)
        dfd = os.open(os.path.dirname(path), os.O_RDONLY)
        try:
            os.fsync(dfd)
        finally:
            os.close(dfd)

    def recover(self):
        """Restores a file left mutated by a run that was killed. Returns a message or None."""
        if not os.path.exists(self.manifest):
            return None
        with open(self.manifest) as f:
            info = json.load(f)
        with open(self.backup, 'rb') as f:
            original = f.read()
        if hashlib.sha256(original).hexdigest() != info['sha256']:
            raise SystemExit(f'mutate-change: the backup in {self.dir} is damaged; restore '
                             f"{info['path']} by hand (git checkout) and delete that folder")
        target = os.path.join(self.tree, info['path'])
        with open(target, 'rb') as f:
            now = f.read()
        changed = now != original
        if changed:
            self._put_back(target, original, info['mode'])
        self._drop_backup()
        return (f"restored {info['path']} from the backup of an interrupted run" if changed
                else f"removed the backup of an interrupted run ({info['path']} was already intact)")

    def hold(self, rel, data):
        os.makedirs(self.dir, exist_ok=True)
        st = os.stat(os.path.join(self.tree, rel))
        sha = hashlib.sha256(data).hexdigest()
        self._write_synced(self.backup, data)
        self._write_synced(self.manifest, json.dumps(
            {'path': rel, 'sha256': sha, 'mode': st.st_mode & 0o7777}).encode())
        self.current = (rel, data, sha, st)

    def write_mutant(self, data):
        rel, _, _, st = self.current
        self._put_back(os.path.join(self.tree, rel), data, st.st_mode & 0o7777)

    def _put_back(self, target, data, mode):
        tmp = os.path.join(os.path.dirname(target), '.' + os.path.basename(target) + '.mutate-tmp')
        fd = os.open(tmp, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode)
        try:
            view = memoryview(data)
            while view:
                view = view[os.write(fd, view):]
            os.fsync(fd)
        finally:
            os.close(fd)
        try:
            with open(tmp, 'rb') as f:
                if f.read() != data:
                    raise OSError(f'{tmp}: read back differs from what was written')
            os.chmod(tmp, mode)
            os.replace(tmp, target)
        finally:
            if os.path.exists(tmp):
                os.unlink(tmp)
        # A fresh time stamp, newer than anything built from the mutant, makes the build see the
        # file as changed: it recompiles (from ccache when the bytes are the original ones) instead
        # of keeping objects built from a mutant.
        now = time.time_ns()
        os.utime(target, ns=(now, now))

    def release(self):
        """Puts the original bytes back and checks them. Safe to call twice."""
        if self.current is None:
            return
        rel, data, sha, st = self.current
        target = os.path.join(self.tree, rel)
        self._put_back(target, data, st.st_mode & 0o7777)
        with open(target, 'rb') as f:
            if hashlib.sha256(f.read()).hexdigest() != sha:
                raise OSError(f'{rel}: restored bytes differ from the original; the backup stays in {self.dir}')
        self._drop_backup()
        self.current = None

    def _drop_backup(self):
        for p in (self.manifest, self.backup):
            if os.path.exists(p):
                os.unlink(p)


class Interrupted(Exception):
    pass


HANDLED_SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)


class SignalsHeld:
    """Defers the handled signals, so that writing or restoring a file is never cut in half."""

    def __enter__(self):
        self.old = signal.pthread_sigmask(signal.SIG_BLOCK, HANDLED_SIGNALS)

    def __exit__(self, *exc):
        signal.pthread_sigmask(signal.SIG_SETMASK, self.old)
        return False


def run_command(cmd, cwd, env, timeout, log):
    """Runs a shell command in its own process group; returns (exit status or 'timeout', output)."""
    proc = subprocess.Popen(cmd, shell=True, cwd=cwd, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        status = proc.returncode
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        out, _ = proc.communicate()
        status = 'timeout'
    except BaseException:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()
        raise
    text = out.decode(errors='replace')
    if log:
        log.write(f'$ {cmd}\n{text}\n[status {status}]\n')
        log.flush()
    return status, text


def failed_tests(output):
    names = re.findall(r'^\s*\d+ - (\S+) \((?:Failed|Timeout|SEGFAULT|Subprocess aborted|Exception|Child aborted)',
                       output, re.M)
    return names


def choose(candidates, count, seed):
    """At most one mutant per line, on `count` lines drawn at random (seeded, so repeatable).

    Drawing lines rather than mutants keeps a long line of constants from outweighing the logic.
    """
    rng = random.Random(seed)
    by_line = {}
    for m in sorted(candidates, key=Mutant.key):
        by_line.setdefault((m.path, m.line), []).append(m)
    lines = sorted(by_line)
    picked = lines if len(lines) <= count else rng.sample(lines, count)
    return sorted((rng.choice(by_line[k]) for k in picked), key=Mutant.key)


def ctest_regex(names):
    """An anchored CMake regular expression matching exactly these test names."""
    def quote(name):
        return ''.join(f'[{c}]' if c in '.()*+?^$|\\' else c for c in name)
    return '^(' + '|'.join(quote(n) for n in sorted(names)) + ')$'


class TestPlan:
    """Runs first the tests whose program the mutant's build relinked, then the rest.

    Most mutants are caught by the tests of the library they live in; running those first, with
    --stop-on-failure, settles a caught mutant in seconds. A survivor still runs the whole suite:
    tests that start another program (the application, the renderer) can see the mutant
    although their own program did not change.
    """

    def __init__(self, build_dir, env):
        out = subprocess.run(['ctest', '--test-dir', build_dir, '--show-only=json-v1'], env=env,
                             capture_output=True, text=True)
        self.programs = {}
        if out.returncode == 0:
            for t in json.loads(out.stdout).get('tests', []):
                cmd = t.get('command') or []
                if cmd and not any(c in t['name'] for c in '[]\\'):
                    self.programs.setdefault(cmd[0], []).append(t['name'])
        self.stamps = {}

    def before_build(self):
        self.stamps = {p: self._stamp(p) for p in self.programs}

    @staticmethod
    def _stamp(path):
        try:
            st = os.stat(path)
            return (st.st_mtime_ns, st.st_size)
        except FileNotFoundError:
            return None

    def first(self):
        """Names of the tests whose program changed in the last build."""
        return [n for p, names in self.programs.items() if self._stamp(p) != self.stamps.get(p) for n in names]


def default_base(tree):
    out = subprocess.run(['git', '-C', tree, 'rev-list', '-1', '--before=4 hours ago', 'HEAD'],
                         check=True, capture_output=True, text=True).stdout.strip()
    if not out:
        raise SystemExit('mutate-change: no commit older than four hours; give BASE')
    return out


def parse_args(argv):
    p = argparse.ArgumentParser(
        prog='mutate-change.sh',
        description='Mutation pass over the lines changed under src/ since BASE.')
    p.add_argument('base', nargs='?', help='commit to diff against (default: last commit older than four hours)')
    p.add_argument('--paths', nargs='+', default=['src/'], help='restrict to these paths (default src/)')
    p.add_argument('--max', type=int, default=40, help='mutants to sample (default 40)')
    p.add_argument('--seed', type=int, default=18, help='sampling seed (default 18)')
    p.add_argument('--tree', default=None, help='the git tree (default: the one holding the current folder)')
    p.add_argument('--build', default='build', help='build folder (default build)')
    p.add_argument('--build-cmd', default=None, help='build command (default: cmake --build BUILD -j2)')
    p.add_argument('--test-cmd', default=None,
                   help='test command, failing when a test fails (default: ctest --stop-on-failure in BUILD)')
    p.add_argument('--ctest-args', default='', help="extra ctest arguments, e.g. \"-R 'Doc|Layout'\"")
    p.add_argument('--timeout', type=int, default=None,
                   help='limit per ctest test in seconds (default: four times the slowest test of the '
                        'unmutated run plus ten seconds, or 120 without it); a hung test holds up '
                        '--stop-on-failure until it times out')
    p.add_argument('--test-timeout', type=int, default=None,
                   help='limit for the whole test command in seconds, over it counts as caught '
                        '(default: three times the unmutated run plus a minute, or 1200 without it)')
    p.add_argument('--build-timeout', type=int, default=1800, help='limit for one build in seconds')
    p.add_argument('--only', action='append', default=[], metavar='FILE:LINE',
                   help='of the sampled mutants run only those on this line (repeatable)')
    p.add_argument('--list', action='store_true', help='print the sampled mutants and stop')
    p.add_argument('--no-baseline', action='store_true', help='skip the run of the tests on the unmutated tree')
    p.add_argument('--log', default=None, help='file for the build and test output (default BUILD/mutate-change.log)')
    return p.parse_args(argv)


def main(argv):
    args = parse_args(argv)
    tree = args.tree or subprocess.run(['git', 'rev-parse', '--show-toplevel'], check=True,
                                       capture_output=True, text=True).stdout.strip()
    tree = os.path.abspath(tree)
    git_dir = subprocess.run(['git', '-C', tree, 'rev-parse', '--absolute-git-dir'], check=True,
                             capture_output=True, text=True).stdout.strip()
    guard = Guard(tree, os.path.join(git_dir, 'mutate-change'))

    # Signals become an exception, so the finally below restores the file.
    def on_signal(signum, _frame):
        raise Interrupted(signal.Signals(signum).name)
    for s in HANDLED_SIGNALS:
        signal.signal(s, on_signal)

    with SignalsHeld():
        note = guard.recover()
    if note:
        print(f'mutate-change: {note}', flush=True)

    base = args.base or default_base(tree)
    build_dir = os.path.join(tree, args.build) if not os.path.isabs(args.build) else args.build
    build_cmd = args.build_cmd or f'cmake --build {shlex.quote(build_dir)} -j2'
    def ctest_cmd(per_test):
        return (f'ctest --test-dir {shlex.quote(build_dir)} --stop-on-failure -j2 '
                f'--timeout {per_test} {args.ctest_args}').strip()
    test_cmd = args.test_cmd or ctest_cmd(args.timeout or 300)
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')

    wanted = changed_lines(tree, base, args.paths)
    candidates = []
    for rel in sorted(wanted):
        path = os.path.join(tree, rel)
        if not os.path.isfile(path):
            continue
        with open(path, 'rb') as f:
            text = f.read().decode('utf-8', errors='surrogateescape')
        candidates.extend(file_mutants(rel, text, wanted[rel]))
    candidates.sort(key=Mutant.key)
    sample = choose(candidates, args.max, args.seed)
    if args.only:
        only = {o.strip() for o in args.only}
        sample = [m for m in sample if f'{m.path}:{m.line}' in only]
    print(f'mutate-change: base {base[:12]}, {sum(len(v) for v in wanted.values())} changed lines in '
          f'{len(wanted)} files, {len(candidates)} possible mutants, running {len(sample)} (seed {args.seed})',
          flush=True)
    if args.list:
        for m in sample:
            print(m.label())
        return 0
    if not sample:
        print('0 of 0 mutants caught')
        return 0

    log_path = args.log or (os.path.join(build_dir, 'mutate-change.log') if os.path.isdir(build_dir)
                            else os.path.join(git_dir, 'mutate-change.log'))
    log = open(log_path, 'w')
    started = time.monotonic()
    caught, survived, not_compiled = [], [], []
    try:
        status, _ = run_command(build_cmd, tree, env, args.build_timeout, log)
        if status != 0:
            print(f'mutate-change: the unmutated tree does not build (see {log_path})', file=sys.stderr)
            return 2
        test_timeout = args.test_timeout or 1200
        if args.no_baseline and args.test_cmd is None and args.timeout is None:
            test_cmd = ctest_cmd(120)
        if not args.no_baseline:
            t0 = time.monotonic()
            status, out = run_command(test_cmd, tree, env, max(test_timeout, 3600) if args.test_timeout is None
                                      else test_timeout, log)
            if status != 0:
                print(f'mutate-change: the tests fail on the unmutated tree ({status}: '
                      f'{", ".join(failed_tests(out)) or "see " + log_path}); nothing to measure',
                      file=sys.stderr)
                return 2
            took = time.monotonic() - t0
            if args.test_timeout is None:
                test_timeout = int(3 * took) + 60
            slowest = [float(x) for x in re.findall(r'Passed\s+([0-9.]+) sec', out)]
            if args.test_cmd is None and args.timeout is None and slowest:
                test_cmd = ctest_cmd(int(4 * max(slowest)) + 10)
            print(f'mutate-change: baseline tests pass ({took:.0f} s; limit per mutant {test_timeout} s): '
                  f'{test_cmd}', flush=True)
        # Without a narrowing of their own, ctest runs put the mutated library's tests first.
        plan = TestPlan(build_dir, env) if args.test_cmd is None and not args.ctest_args.strip() else None
        originals = {}
        for n, m in enumerate(sample, 1):
            t0 = time.monotonic()
            if m.path not in originals:
                with open(os.path.join(tree, m.path), 'rb') as f:
                    originals[m.path] = f.read()
            data = originals[m.path]
            mutated = m.apply(data.decode('utf-8', errors='surrogateescape')).encode('utf-8', errors='surrogateescape')
            with SignalsHeld():
                guard.hold(m.path, data)
                guard.write_mutant(mutated)
            try:
                log.write(f'\n==== mutant {n}: {m.label()}\n')
                if plan:
                    plan.before_build()
                status, _ = run_command(build_cmd, tree, env, args.build_timeout, log)
                if status != 0:
                    verdict = 'not compiled'
                    not_compiled.append(m)
                else:
                    first = plan.first() if plan else []
                    if first:
                        t1 = time.monotonic()
                        regex = shlex.quote(ctest_regex(first))
                        status, out = run_command(f'{test_cmd} -R {regex}', tree, env, test_timeout, log)
                        if status == 0:
                            left = max(1, int(test_timeout - (time.monotonic() - t1)))
                            status, out = run_command(f'{test_cmd} -E {regex}', tree, env, left, log)
                    else:
                        status, out = run_command(test_cmd, tree, env, test_timeout, log)
                    if status == 0:
                        verdict = 'SURVIVED'
                        survived.append(m)
                    else:
                        by = ', '.join(failed_tests(out)[:3])
                        verdict = 'caught' + (' (time limit)' if status == 'timeout' else '') + (f' by {by}' if by else '')
                        caught.append(m)
            finally:
                with SignalsHeld():
                    guard.release()
            print(f'[{n}/{len(sample)}] {m.label()}: {verdict} ({time.monotonic() - t0:.0f} s)', flush=True)
    except Interrupted as e:
        print(f'mutate-change: interrupted ({e}); the tree is restored', file=sys.stderr)
        return 130
    finally:
        with SignalsHeld():
            guard.release()
        log.close()
    # Leave the build folder matching the restored tree.
    status, _ = run_command(build_cmd, tree, env, args.build_timeout, None)
    if status != 0:
        print('mutate-change: warning: the final rebuild of the restored tree failed', file=sys.stderr)

    print()
    if not_compiled:
        print(f'Not compiled ({len(not_compiled)}, not counted):')
        for m in not_compiled:
            print(f'  {m.label()}')
    if survived:
        print(f'Survivors ({len(survived)}):')
        for m in survived:
            print(m.label())
    total = len(caught) + len(survived)
    print(f'{len(caught)} of {total} mutants caught '
          f'({len(not_compiled)} not compiled; {time.monotonic() - started:.0f} s)')
    return 0


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv[1:]))
    except subprocess.CalledProcessError as e:
        sys.exit(f'mutate-change: {" ".join(e.cmd)} failed: {e.stderr.strip() if e.stderr else e.returncode}')
