"""Generates the mutants of one C++ source file: every site of a few classic operators, each a
single textual change that names its place and its operator.

Operators (the names appear in the ids):
    lt-le le-lt gt-ge ge-gt eq-ne ne-eq   a relational operator moved across its boundary
    plus1 minus1                          an integer constant changed by one
    and-or or-and                         && and || swapped
    negate                                the condition of an if, while, do or for negated
    drop-return drop-break drop-continue  the statement removed
    drop-assign                           an assignment (=, op=, ++, --) statement removed
    swap-side                             fooA written for fooB or the other way round, where the
                                          same function (or file) names both

Nothing inside comments, literals or preprocessor lines changes, nor template arguments,
static_assert, attributes, array sizes of declarations or parameter lists. Code that
`#ifdef _WIN32` keeps out of the native build is left alone.

An id is  FILE:ENTITY:HASH:OPERATOR:K  where ENTITY is the function (Class::Name as written, or
the variable of an initializer, "-" elsewhere), HASH six hex digits of the site's line with its
blanks squeezed, and K counts the sites of that operator on equal lines of that entity from 1.
It survives any edit that leaves the line and its entity's name alone.
"""
import hashlib
import re
from dataclasses import dataclass

from cpp_tokens import integer_value, tokenize

RELATIONAL = {"<": ("lt-le", "<="), "<=": ("le-lt", "<"), ">": ("gt-ge", ">="),
              ">=": ("ge-gt", ">"), "==": ("eq-ne", "!="), "!=": ("ne-eq", "==")}
LOGICAL = {"&&": ("and-or", "||"), "||": ("or-and", "&&")}
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}
# Words that begin a declaration, never an expression statement.
DECLARATION_WORDS = {
    "const", "constexpr", "constinit", "static", "thread_local", "auto", "int", "unsigned",
    "signed", "long", "short", "char", "char8_t", "char16_t", "char32_t", "wchar_t", "bool",
    "float", "double", "void", "struct", "class", "enum", "union", "using", "typedef",
    "typename", "volatile", "register", "extern", "inline", "static_assert", "namespace",
}
# Words after which a name or `[` is part of an expression, not a declaration.
EXPRESSION_WORDS = {"return", "case", "new", "delete", "throw", "else", "do", "sizeof",
                    "co_return", "co_yield", "co_await", "typeid", "not", "and", "or"}
VALUE_WORDS = {"true", "false", "nullptr", "this"}
SKIPPED_CALLS = {"static_assert", "alignas", "alignof", "__attribute__", "decltype", "noexcept"}
SIDE_NAME = re.compile(r"((?:[A-Za-z_][A-Za-z0-9_]*)?[a-z0-9_])([AB])")


@dataclass
class Mutant:
    id: str
    path: str
    line: int
    column: int
    operator: str
    start: int       # the characters [start, end) of the file's text become `replacement`
    end: int
    replacement: str
    original: str

    def change(self):
        """The change in one short line: original -> replacement."""
        def squeeze(s):
            s = " ".join(s.split())
            return s if len(s) <= 70 else s[:67] + "..."
        return f"{squeeze(self.original)} -> {squeeze(self.replacement) or '(nothing)'}"

    def apply(self, text):
        return text[:self.start] + self.replacement + text[self.end:]


def _match_brackets(tokens):
    match, stack = {}, []
    for i, t in enumerate(tokens):
        if t.kind != "punct":
            continue
        if t.text in "([{":
            stack.append(i)
        elif t.text in ")]}" and stack:
            j = stack.pop()
            match[i], match[j] = j, i
    return match


def _is_name(token):
    return token.kind == "ident" and token.text not in EXPRESSION_WORDS | VALUE_WORDS


def _template_angles(tokens, match):
    """{index of a `<` that opens template arguments: index of the token that closes them}.
    A `<` after a name opens arguments when a matching `>` follows within the expression (no
    `;`, `&&`, `||` or closing bracket before it) and what comes after that `>` can follow a
    type or a call's template arguments; `a < b` never meets such a `>`."""
    closes = {}
    n = len(tokens)
    for i, t in enumerate(tokens):
        if t.text != "<" or t.kind != "punct" or i == 0:
            continue
        before = tokens[i - 1]
        if before.text == "operator" or (i > 1 and tokens[i - 2].text == "operator"):
            continue
        if not (before.text == "template" or _is_name(before)):
            continue
        depth, j = 1, i + 1
        while j < n and j < i + 80:
            s = tokens[j].text if tokens[j].kind == "punct" else None
            if s in ("(", "[", "{"):
                j = match.get(j, n)
            elif s in (")", "]", "}", ";", "&&", "||"):
                break
            elif s == "<" and _is_name(tokens[j - 1]):
                depth += 1
            elif s == ">":
                depth -= 1
            elif s == ">>":
                depth -= 2
            if depth <= 0:
                after = tokens[j + 1] if j + 1 < n else tokens[j]
                if before.text == "template" or after.kind == "ident" or after.text in (
                        "(", ")", "::", "{", "}", ",", ";", ">", ">>", "&", "*", "&&", "...", "[",
                        "]", "=", ":") or j + 1 == n:
                    closes[i] = j
                break
            j += 1
    return closes


class _FileWalker:
    """Walks one file's tokens as declarations, function bodies and statements, collecting the
    sites: which tokens may change (and the entity they belong to), and the statement-level
    sites (conditions, removable statements)."""

    def __init__(self, tokens):
        self.t = tokens
        self.n = len(tokens)
        self.match = _match_brackets(tokens)
        self.angles = _template_angles(tokens, self.match)
        self.angle_tokens = set()
        for open_, close in self.angles.items():
            self.angle_tokens.update(range(open_, close + 1))
        self.owner = [None] * self.n   # entity of each token that may change
        self.enum_tokens = set()       # enumerators: their names are declarations
        # Statement-level sites: (operator, first token, last token, replacement), where a
        # replacement of None negates the tokens.
        self.sites = []

    # Helpers ------------------------------------------------------------------------------
    def text(self, i):
        return self.t[i].text if i < self.n else ""

    def skip_group(self, i):
        """The index just past the bracket or template group opened at i."""
        if i in self.angles:
            return self.angles[i] + 1
        return self.match.get(i, self.n - 1) + 1

    def mark(self, start, end, entity):
        for k in range(start, min(end, self.n)):
            if self.owner[k] is None:
                self.owner[k] = entity

    # Namespace and class scope ------------------------------------------------------------
    def scope(self, i, end, prefix):
        while i < end:
            i = self.declaration(i, end, prefix)

    def declaration(self, start, end, prefix):
        """Walks one declaration at namespace or class scope; returns where the next begins."""
        i = start
        first_paren = None   # the parameter list of a function, if this declares one
        equals = None
        words = set()
        while i < end:
            t = self.t[i]
            s = t.text
            if t.kind == "ident":
                words.add(s)
                if s in SKIPPED_CALLS and self.text(i + 1) == "(":
                    i = self.skip_group(i + 1)
                    continue
            if t.kind != "punct":
                i += 1
                continue
            if s == ";":
                if equals is not None and first_paren is None:
                    self.mark(equals + 1, i, self.declared_name(start, equals, prefix))
                return i + 1
            if s == "=" and equals is None and first_paren is None:
                equals = i
            elif s == "(":
                if first_paren is None and equals is None:
                    first_paren = i
                i = self.skip_group(i)
                continue
            elif s == "[":
                if self.text(i + 1) == "[":   # an attribute
                    i = self.skip_group(i)
                    continue
                i = self.skip_group(i)
                continue
            elif i in self.angles:
                i = self.skip_group(i)
                continue
            elif s == "{":
                close = self.match.get(i, end - 1)
                if "namespace" in words or ("extern" in words and first_paren is None):
                    self.scope(i + 1, close, prefix)
                    return close + 1
                if "enum" in words and equals is None:
                    self.mark(i + 1, close, prefix + self.class_name(start, i) or "-")
                    self.enum_tokens.update(range(i + 1, close))
                    i = close + 1
                    continue
                if words & {"class", "struct", "union"} and first_paren is None and equals is None:
                    name = self.class_name(start, i)
                    self.scope(i + 1, close, prefix + name + "::" if name else prefix)
                    i = close + 1
                    continue
                if first_paren is None or equals is not None:
                    # A variable's braced initializer.
                    name = self.declared_name(start, equals if equals is not None else i, prefix)
                    self.mark(i + 1, close, name)
                    self.expression(i + 1, close, name)
                    i = close + 1
                    continue
                name = self.function_name(start, first_paren, prefix)
                before = self.t[i - 1]
                after_params = self.match.get(first_paren, i)
                if before.kind == "ident" and any(self.text(k) == ":" for k in range(after_params, i)) \
                        and before.text not in ("const", "override", "final", "noexcept", "mutable"):
                    # A member initializer of a constructor: Name{value}.
                    self.mark(i + 1, close, name)
                    i = close + 1
                    continue
                returns_value = self.returns_value(start, first_paren)
                self.function_body(i, name, returns_value)
                return close + 1
            i += 1
        return end

    def declared_name(self, start, stop, prefix):
        """The name a declaration declares: its last name outside brackets before `stop`."""
        names, k = [], start
        while k < stop:
            if self.text(k) in ("(", "[", "{") or k in self.angles:
                k = self.skip_group(k)
                continue
            if self.t[k].kind == "ident" and self.t[k].text not in DECLARATION_WORDS:
                names.append(k)
            k += 1
        return prefix + self.t[names[-1]].text if names else "-"

    def class_name(self, start, stop):
        for k in range(start, stop):
            if self.text(k) in ("class", "struct", "union", "enum") and self.t[k + 1].kind == "ident":
                if self.t[k + 1].text not in ("class", "struct"):
                    return self.t[k + 1].text
        return ""

    def function_name(self, start, paren, prefix):
        k = paren - 1
        parts = []
        if self.text(k - 1) == "operator":
            return prefix + "operator" + self.text(k)
        while k >= start and self.t[k].kind == "ident":
            parts.insert(0, self.t[k].text)
            if self.text(k - 1) == "~":
                parts[0] = "~" + parts[0]
                k -= 1
            if self.text(k - 1) != "::":
                break
            k -= 2
        return prefix + "::".join(parts) if parts else "-"

    def returns_value(self, start, paren):
        """Whether the function declared by [start, paren) returns something (not void, not a
        constructor or destructor)."""
        k = paren - 2 if self.text(paren - 2) == "operator" else paren - 1
        while self.text(k - 1) in ("::", "~"):
            k -= 2 if self.text(k - 1) == "::" else 1
        head = [self.t[m].text for m in range(start, k)
                if m not in self.angle_tokens and self.t[m].text not in (
                    "static", "inline", "constexpr", "virtual", "explicit", "friend", "template",
                    "public", "private", "protected", ":", "[", "]", "nodiscard", "maybe_unused")]
        return bool(head) and head != ["void"]

    # Function bodies and statements --------------------------------------------------------
    def function_body(self, open_, name, returns_value):
        close = self.match.get(open_, self.n - 1)
        self.mark(open_ + 1, close, name)
        # A `return` in a function that returns a value may go only where a later return or
        # throw at the body's top level still ends the function.
        last_exit = max((k for k in self.top_statements(open_, close)
                         if self.text(k) in ("return", "throw")), default=-1)
        self.block(open_, name, returns_value, last_exit)

    def top_statements(self, open_, close):
        k, starts = open_ + 1, []
        while k < close:
            starts.append(k)
            k = self.statement(k, None, False, -1, record=False)
        return starts

    def block(self, open_, name, returns_value, last_exit, record=True):
        close = self.match.get(open_, self.n - 1)
        k = open_ + 1
        while k < close:
            k = self.statement(k, name, returns_value, last_exit, record)
        return close + 1

    def statement(self, i, name, returns_value, last_exit, record=True):
        """Walks the statement at i; returns the index just past it."""
        s = self.text(i)
        ctx = (name, returns_value, last_exit, record)
        if s == "{":
            return self.block(i, *ctx)
        if s == "if":
            j = i + 1
            constexpr = self.text(j) == "constexpr"
            if constexpr or self.text(j) == "!":
                j += 1
            if self.text(j) != "(":
                return i + 1
            close = self.match[j]
            if record and not constexpr:
                self.condition(j + 1, close, name)
            self.expression(j + 1, close, name, record)
            k = self.statement(close + 1, *ctx)
            if self.text(k) == "else":
                k = self.statement(k + 1, *ctx)
            return k
        if s in ("while", "switch"):
            if self.text(i + 1) != "(":
                return i + 1
            close = self.match[i + 1]
            if record and s == "while":
                self.condition(i + 2, close, name)
            self.expression(i + 2, close, name, record)
            return self.statement(close + 1, *ctx)
        if s == "for":
            if self.text(i + 1) != "(":
                return i + 1
            close = self.match[i + 1]
            semis = [k for k in range(i + 2, close) if self.text(k) == ";"
                     and self.depth_zero(i + 2, k)]
            if record and len(semis) == 2 and semis[1] > semis[0] + 1:
                self.condition(semis[0] + 1, semis[1], name)
            self.expression(i + 2, close, name, record)
            return self.statement(close + 1, *ctx)
        if s == "do":
            k = self.statement(i + 1, *ctx)
            if self.text(k) == "while" and self.text(k + 1) == "(":
                close = self.match[k + 1]
                if record:
                    self.condition(k + 2, close, name)
                self.expression(k + 2, close, name, record)
                return close + 2
            return k
        if s == "try":
            k = self.statement(i + 1, *ctx)
            while self.text(k) == "catch":
                k = self.statement(self.skip_group(k + 1), *ctx)
            return k
        if s == "case":
            k = i + 1
            while k < self.n and self.text(k) != ":":
                k = self.skip_group(k) if self.text(k) in ("(", "[") else k + 1
            return k + 1
        if s == "default" and self.text(i + 1) == ":":
            return i + 2
        if self.t[i].kind == "ident" and self.text(i + 1) == ":" and s not in ("public", "private"):
            return i + 2
        end = self.expression_statement_end(i, name, record)
        if record and s in ("return", "break", "continue"):
            removable = s != "return" or not returns_value or i < last_exit
            if removable:
                self.sites.append(("drop-" + s, i, end, "{}"))
        elif record and self.is_assignment(i, end):
            self.sites.append(("drop-assign", i, end, "{}"))
        return end + 1

    def depth_zero(self, start, k):
        depth = 0
        for m in range(start, k):
            s = self.text(m)
            if s in ("(", "[", "{"):
                depth += 1
            elif s in (")", "]", "}"):
                depth -= 1
        return depth == 0

    def expression_statement_end(self, i, name, record):
        """The index of the `;` that ends the statement at i; lambdas inside are walked."""
        k = i
        while k < self.n:
            s = self.text(k)
            if s == ";":
                return k
            if s == "}":
                return k - 1
            if s in ("(", "[", "{"):
                close = self.match.get(k, self.n - 1)
                self.expression(k + 1, close, name, record, k)
                k = close + 1
                continue
            k += 1
        return k

    def expression(self, start, end, name, record=True, opener=None):
        """Walks the bodies of lambdas in [start, end)."""
        if opener is not None and self.text(opener) == "{" and self.is_lambda_body(opener):
            self.block(opener, name, True, -1, record)
            return
        k = start
        while k < end:
            if self.text(k) in ("(", "[", "{"):
                close = self.match.get(k, end)
                self.expression(k + 1, close, name, record, k)
                k = close + 1
            else:
                k += 1

    def is_lambda_body(self, open_):
        before = self.text(open_ - 1)
        if before in (")", "mutable"):
            return True
        if before == "]":
            intro = self.match.get(open_ - 1, 0)
            return self.text(intro - 1) in ("=", "(", ",", "return", "{", ";", "")
        return False

    def is_declaration(self, start, stop):
        """Whether the tokens [start, stop) begin a declaration (a type, then a name)."""
        if self.text(start) in DECLARATION_WORDS:
            return True

        def name_like(k):
            a = self.t[k]
            return (a.kind == "ident" and a.text not in EXPRESSION_WORDS | VALUE_WORDS) or \
                (a.text == ">" and k in self.angle_tokens)
        for k in range(start, stop - 1):
            if name_like(k) and self.t[k + 1].kind == "ident":
                return True
        return stop - start >= 3 and name_like(stop - 3) and \
            self.text(stop - 2) in ("*", "&", "&&") and self.t[stop - 1].kind == "ident"

    def is_assignment(self, start, end):
        k = start
        while k < end:
            s = self.text(k)
            if s in ("(", "[", "{"):
                k = self.skip_group(k)
                continue
            if k in self.angles:
                k = self.skip_group(k)
                continue
            if s in ASSIGNMENTS and self.t[k].kind == "punct":
                return not self.is_declaration(start, k)
            k += 1
        return self.text(start) in ("++", "--") or (end - 1 > start and self.text(end - 1) in ("++", "--")
                                                    and not self.is_declaration(start, end - 1))

    def condition(self, start, end, name):
        top = [self.text(k) for k in range(start, end) if self.depth_zero(start, k)]
        if start >= end or ";" in top or "=" in top or self.is_declaration(start, end):
            return
        self.sites.append(("negate", start, end - 1, None))


def _excluded_tokens(walker):
    """Tokens no token-level operator may change: template arguments, array sizes of
    declarations and the arguments of static_assert, alignas and their kind."""
    t, out = walker.t, set(walker.angle_tokens)
    for i, tok in enumerate(t):
        if tok.kind == "ident" and tok.text in SKIPPED_CALLS and walker.text(i + 1) == "(":
            out.update(range(i, walker.match.get(i + 1, i + 1) + 1))
        if tok.text == "[" and i >= 2 and _is_name(t[i - 1]):
            before = t[i - 2]
            if (before.kind == "ident" and before.text not in EXPRESSION_WORDS) or \
                    (before.text == ">" and i - 2 in walker.angle_tokens):
                out.update(range(i, walker.match.get(i, i) + 1))
        if tok.text == "operator":
            out.update(range(i, i + 3))
    return out


def _binary_logical(t, i):
    """Whether the && at i joins two conditions (not an rvalue reference)."""
    before, after = t[i - 1], t[i + 1]
    if before.kind == "ident" and before.text in DECLARATION_WORDS:
        return False
    if after.text in (")", ",", ">", "=", "...", ";"):
        return False
    return True


def mutants_of(path, text):
    """Every mutant of one file's text, in file order, with stable ids."""
    tokens = tokenize(text)
    walker = _FileWalker(tokens)
    walker.scope(0, len(tokens), "")
    excluded = _excluded_tokens(walker)
    raw = []  # (token index of the site, operator, start offset, end offset, replacement)

    def span(first, last):
        return tokens[first].start, tokens[last].start + len(tokens[last].text)

    names_by_entity = {}
    for i, tok in enumerate(tokens):
        if walker.owner[i] is not None and tok.kind == "ident":
            names_by_entity.setdefault(walker.owner[i], set()).add(tok.text)

    for i, tok in enumerate(tokens):
        entity = walker.owner[i]
        if entity is None or i in excluded:
            continue
        start, end = span(i, i)
        if tok.kind == "punct" and tok.text in RELATIONAL:
            if tok.text in ("<", ">") and i in walker.angle_tokens:
                continue
            op, new = RELATIONAL[tok.text]
            raw.append((i, op, start, end, new))
        elif tok.kind == "punct" and tok.text in LOGICAL:
            if tok.text == "||" or _binary_logical(tokens, i):
                op, new = LOGICAL[tok.text]
                raw.append((i, op, start, end, new))
        elif tok.kind == "number":
            parsed = integer_value(tok.text)
            if parsed is None:
                continue
            value, write = parsed
            raw.append((i, "plus1", start, end, write(value + 1)))
            if value > 0:
                raw.append((i, "minus1", start, end, write(value - 1)))
            elif tokens[i - 1].text not in ("-", "--", "+", "++"):
                raw.append((i, "minus1", start, end, "-" + write(1)))
        elif tok.kind == "ident":
            m = SIDE_NAME.fullmatch(tok.text)
            if not m:
                continue
            other = m.group(1) + ("B" if m.group(2) == "A" else "A")
            before = tokens[i - 1]
            declares = (before.kind == "ident" and before.text not in EXPRESSION_WORDS) or \
                (before.text == ">" and i - 1 in walker.angle_tokens)
            if other in names_by_entity.get(entity, ()) and not declares \
                    and i not in walker.enum_tokens:
                raw.append((i, "swap-side", start, end, other))

    for op, first, last, replacement in walker.sites:
        entity = walker.owner[first] or "-"
        start, end = span(first, last)
        if replacement is None:
            replacement = "!(" + text[start:end] + ")"
        raw.append((first, op, start, end, replacement))

    raw.sort(key=lambda r: (r[2], r[1]))
    lines = text.split("\n")
    counts = {}
    mutants = []
    for i, op, start, end, replacement in raw:
        tok = tokens[i]
        entity = walker.owner[i] or "-"
        squeezed = " ".join(lines[tok.line - 1].split())
        digest = hashlib.sha1(squeezed.encode("utf-8")).hexdigest()[:6]
        key = (entity, digest, op)
        counts[key] = counts.get(key, 0) + 1
        mutant_id = f"{path}:{entity}:{digest}:{op}:{counts[key]}"
        mutants.append(Mutant(mutant_id, path, tok.line, tok.column, op, start, end, replacement,
                              text[start:end]))
    return mutants
