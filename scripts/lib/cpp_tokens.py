"""A C++ tokenizer just good enough to find mutation sites: it knows comments, string and
character literals (raw strings too), numbers with separators and suffixes, and preprocessor
lines, which it drops, together with the code that `#ifdef _WIN32` (or `#if defined(_WIN32)`)
keeps out of a native build. Nothing in a dropped line or a literal is ever handed on as code.
"""
import re
from dataclasses import dataclass

PUNCTUATORS = sorted("""
    <=> <<= >>= ->* ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ##
    { } [ ] ( ) ; : ? , . + - * / % ^ & | ~ ! = < > #
""".split(), key=len, reverse=True)
STRING_PREFIXES = ("u8R", "uR", "UR", "LR", "R", "u8", "u", "U", "L")
_IDENT = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
# A hexadecimal number's exponent is p, a decimal one's e: 0xE+1 is a sum, 1e+5 one number.
_NUMBER = re.compile(r"0[xX](?:[pP][+-]|'?[0-9A-Za-z_.])*|\.?[0-9](?:[eE][+-]|'?[0-9A-Za-z_.])*")


@dataclass
class Token:
    kind: str   # "ident", "number", "string", "char", "punct"
    text: str
    start: int  # offset of the first character in the file's text
    line: int   # 1-based
    column: int  # 1-based


def _skip_string(text, i, raw):
    """The offset just past the string literal whose opening quote is at i."""
    if raw:
        open_paren = text.index("(", i)
        delimiter = text[i + 1:open_paren]
        return text.index(")" + delimiter + '"', open_paren) + len(delimiter) + 2
    quote = text[i]
    i += 1
    while text[i] != quote:
        i += 2 if text[i] == "\\" else 1
    return i + 1


def _windows_only(condition, directive):
    """Whether a conditional directive keeps its code out of a build that is not for Windows."""
    if "_WIN32" not in condition:
        return False
    if directive == "ifndef" or re.search(r"!\s*defined\s*\(?\s*_WIN32", condition):
        return False
    return True


def tokenize(text):
    """The code tokens of a C++ source text, in order, with their places."""
    tokens = []
    i, line, line_start, n = 0, 1, 0, len(text)
    at_line_start = True
    # One entry per open conditional: whether its current branch is dropped.
    dropped = []

    def advance_to(j):
        nonlocal i, line, line_start
        newlines = text.count("\n", i, j)
        if newlines:
            line += newlines
            line_start = text.rindex("\n", i, j) + 1
        i = j

    while i < n:
        c = text[i]
        if c == "\n":
            advance_to(i + 1)
            at_line_start = True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if text.startswith("//", i):
            end = text.find("\n", i)
            advance_to(n if end < 0 else end)
            continue
        if text.startswith("/*", i):
            advance_to(text.index("*/", i + 2) + 2)
            continue
        if c == "#" and at_line_start:
            end = i
            while True:
                end = text.find("\n", end)
                if end < 0:
                    end = n
                    break
                if text[end - 1] == "\\" or (text[end - 1] == "\r" and text[end - 2] == "\\"):
                    end += 1
                    continue
                break
            directive = text[i + 1:end].strip()
            word = _IDENT.match(directive)
            word = word.group(0) if word else ""
            rest = directive[len(word):]
            if word in ("if", "ifdef", "ifndef"):
                dropped.append(_windows_only(rest, word))
            elif word in ("elif", "else") and dropped:
                dropped[-1] = not dropped[-1] if word == "else" else _windows_only(rest, "if")
            elif word == "endif" and dropped:
                dropped.pop()
            advance_to(end)
            continue
        at_line_start = False
        start, column = i, i - line_start + 1
        m = _IDENT.match(text, i)
        if m:
            word = m.group(0)
            end = m.end()
            if end < n and text[end] in "\"'" and word in STRING_PREFIXES:
                kind = "string" if text[end] == '"' else "char"
                advance_to(_skip_string(text, end, raw=word.endswith("R")))
                token = Token(kind, text[start:i], start, line, column)
            else:
                i = end
                token = Token("ident", word, start, line, column)
        elif c in "\"'":
            advance_to(_skip_string(text, i, raw=False))
            token = Token("string" if c == '"' else "char", text[start:i], start, line, column)
        elif c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            m = _NUMBER.match(text, i)
            i = m.end()
            token = Token("number", m.group(0), start, line, column)
        else:
            for p in PUNCTUATORS:
                if text.startswith(p, i):
                    break
            else:
                p = c
            i += len(p)
            token = Token("punct", p, start, line, column)
        if not any(dropped):
            tokens.append(token)
    return tokens


def integer_value(text):
    """(value, how to write another value the same way) of an integer literal, or None for a
    floating-point literal or anything else."""
    digits = text.replace("'", "")
    m = re.fullmatch(r"(0[xX])([0-9A-Fa-f]+)([uUlLzZ]*)", digits)
    if m:
        prefix, body, suffix = m.groups()
        upper = body != body.lower()
        width = len(body)

        def write(value):
            s = format(value, "X" if upper else "x").rjust(width, "0")
            return prefix + s + suffix
        return int(body, 16), write
    m = re.fullmatch(r"(0[bB])([01]+)([uUlLzZ]*)", digits)
    if m:
        prefix, body, suffix = m.groups()
        return int(body, 2), lambda v: prefix + format(v, "b").rjust(len(body), "0") + suffix
    m = re.fullmatch(r"(0[0-7]+)([uUlLzZ]*)", digits)
    if m:
        body, suffix = m.groups()
        return int(body, 8), lambda v: "0" + format(v, "o") + suffix
    m = re.fullmatch(r"([0-9]+)([uUlLzZ]*)", digits)
    if m:
        body, suffix = m.groups()
        return int(body), lambda v: str(v) + suffix
    return None
