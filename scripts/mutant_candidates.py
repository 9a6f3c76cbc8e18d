"""The mutants scripts/mutate --sample draws from: small faults found mechanically in C++ source.

Every candidate changes one line of the file. Comments, string and character literals and
preprocessor lines are never touched; the source is clang-formatted, so binary operators
stand between spaces, which tells a comparison from a template's brackets.

How the window looks is left out: a colour, a pixel size or a spacing changed is judged by
eye from the screenshots, and a test that pinned them would only copy the numbers. So no
candidate changes a number inside ImVec2/ImVec4/IM_COL32 or a colour table's braces, touches
a theme line (style.X = ..., colours[...] = ...), a draw-list call or, in a file that draws
with Dear ImGui, a line of float pixel geometry (the model's numbers are doubles), or removes
a pure layout call.
"""

import re


class Candidate:
    def __init__(self, line_no, kind, before, after):
        self.line_no = line_no  # 1-based
        self.kind = kind
        self.before = before  # the whole line, as in the file
        self.after = after  # the whole line, mutated ("" when the statement is removed)

    def key(self):
        return (self.before.strip(), self.after.strip())


def code_only(text):
    """The text with comments, literals' contents and preprocessor lines blanked to spaces, so
    positions still match the original."""
    out = list(text)
    i, n = 0, len(text)

    def blank(start, end):
        for k in range(start, end):
            if out[k] != "\n":
                out[k] = " "

    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            end = i
            while end < n and (text[end] != "\n" or text[end - 1] == "\\"):
                end += 1
            blank(i, end)
            i = end
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            blank(i, end)
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            blank(i, end)
            i = end
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i + 2)
            delimiter = ")" + text[i + 2:open_paren] + '"'
            end = text.find(delimiter, open_paren)
            end = n if end < 0 else end + len(delimiter)
            blank(i + 1, end)
            i = end
        elif c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                i += 1
                continue
            end = i + 1
            while end < n and text[end] != c and text[end] != "\n":
                end += 2 if text[end] == "\\" else 1
            blank(i + 1, min(end, n))
            i = end + 1
        else:
            i += 1
    return "".join(out)


_FLIPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==", "&&": "||", "||": "&&"}
_OPERATOR = re.compile(r"(?<= )(<=|>=|==|!=|&&|\|\||<|>)(?= )")
_NOT = re.compile(r"(?<![\w)\]])!(?=[\w(])")
_LAYOUT = r"ImGui::(?:Separator|Spacing|SameLine|Columns|SetNextItemWidth|SetWindowFontScale|SetCursorPosX|Dummy)"
_LOOKS_CALL = re.compile(r"\b(?:ImVec2|ImVec4|IM_COL32|ImGui::PushStyleVar|" + _LAYOUT + r")\(")
_LOOKS_LINE = re.compile(r"^\s*(?:style\.\w+(?:\.\w+)? = |colours\[\w+\] = |config\.(?:Oversample|PixelSnap)\w+ = |(?:const )?(?:ButtonColours|ImVec4|ImVec2) k\w+)")
# In a file that draws, float geometry, float literals (colours, sizes) and draw-list calls.
_PIXELS_LINE = re.compile(r"\bfloat\b|\d\.\d*f\b|->Add\w+\(")
_LAYOUT_CALL = re.compile(r"^\s*(?:if \(\w+\) )?" + _LAYOUT + r"\(")
_NUMBER = re.compile(r"(?<![\w.])(\d+\.\d*|\.\d+|\d+)([eE][+-]?\d+)?([fFuUlL]*)(?![\w.'])")
_ASSIGNMENT = re.compile(r"^[\w.\->\[\]*]+ (=|\+=|-=|\*=|/=|\|=|&=) .*;$")
_CALL = re.compile(r"^[\w:.\->]+(\(.*\));$")
_NOT_CALLS = {"return", "if", "while", "for", "switch", "sizeof", "static_assert", "case", "delete"}
_SIMPLE_ARGUMENTS = re.compile(r"(?<=[\w>])\(([\w.\->:]+(?:, [\w.\->:]+)+)\)")
_SYMMETRIC = re.compile(r"(?:min|max|hypot|swap|equal)\($")


def _float_text(value):
    text = f"{value:.6g}"
    return text if any(ch in text for ch in ".e") else text + ".0"


def _appearance_spans(code, drawing):
    """The character ranges of the line's colours and sizes."""
    if _LOOKS_LINE.match(code) or (drawing and _PIXELS_LINE.search(code)):
        return [(0, len(code))]
    spans = []
    for match in _LOOKS_CALL.finditer(code):
        depth, end = 0, match.end() - 1
        while end < len(code):
            depth += {"(": 1, ")": -1}.get(code[end], 0)
            if depth == 0:
                break
            end += 1
        spans.append((match.start(), end + 1))
    return spans


def _inside(position, spans):
    return any(start <= position < end for start, end in spans)


def _numbers(code, line, looks):
    for match in _NUMBER.finditer(code):
        if _inside(match.start(), looks):
            continue
        digits, exponent, suffix = match.group(1), match.group(2) or "", match.group(3)
        start, end = match.span()
        if "." in digits or exponent:
            value = float(digits + exponent)
            if value == 0.0 or suffix:
                continue
            replacements = [_float_text(value * 1.01), _float_text(value * 0.99)]
        else:
            value = int(digits)
            if digits.startswith("0") and digits != "0":
                continue  # octal
            replacements = [str(value + 1)] + ([str(value - 1)] if value > 0 else [])
            replacements = [r + suffix for r in replacements]
        for replacement in replacements:
            yield "constant", line[:start] + replacement + line[end:]


def _arguments(code, line, looks):
    for match in _SIMPLE_ARGUMENTS.finditer(code):
        if _inside(match.start(1), looks):
            continue
        if _SYMMETRIC.search(code[: match.start() + 1]):
            continue
        arguments = match.group(1).split(", ")
        offset = match.start(1)
        for k in range(len(arguments) - 1):
            if arguments[k] == arguments[k + 1]:
                continue
            swapped = arguments[:k] + [arguments[k + 1], arguments[k]] + arguments[k + 2:]
            yield "arguments", line[:offset] + ", ".join(swapped) + line[offset + len(match.group(1)):]


def _removal(code_lines, index):
    """Whether line index is a whole one-line statement that returns, assigns or calls."""
    stripped = code_lines[index].strip()
    if not stripped.endswith(";") or stripped.count("(") != stripped.count(")"):
        return False
    previous = next((code_lines[k].strip() for k in range(index - 1, -1, -1) if code_lines[k].strip()), "{")
    if not previous.endswith((";", "{", "}", ":")):
        return False  # the tail of a longer statement, or the body of a braceless if
    if stripped.startswith("return"):
        # A function's last return cannot go (it would not build); an early one falls through.
        following = next((line.strip() for line in code_lines[index + 1:] if line.strip()), "}")
        return not following.startswith("}")
    if _ASSIGNMENT.match(stripped):
        return True
    call = _CALL.match(stripped)
    return bool(call) and stripped.split("(")[0].split("::")[-1] not in _NOT_CALLS


def windows_only(lines):
    """The indexes of the lines only a Windows build compiles (#ifdef _WIN32 and #ifndef
    _WIN32's #else), which the tests here never run."""
    found, branches = set(), []  # per open #if: "windows", "other" or None (not about _WIN32)
    for index, line in enumerate(lines):
        directive = line.strip()
        if directive.startswith("#"):
            words = directive[1:].split()
            keyword = words[0] if words else ""
            if keyword in ("ifdef", "ifndef", "if"):
                about_windows = words[1:] == ["_WIN32"] and keyword != "if"
                branches.append(("windows" if keyword == "ifdef" else "other") if about_windows else None)
            elif keyword == "else" and branches and branches[-1]:
                branches[-1] = "other" if branches[-1] == "windows" else "windows"
            elif keyword == "elif" and branches:
                branches[-1] = None
            elif keyword == "endif" and branches:
                branches.pop()
        elif "windows" in branches:
            found.add(index)
    return found


def candidates(text):
    """Every mutant of the file, in file order."""
    lines = text.split("\n")
    code_lines = code_only(text).split("\n")
    skipped = windows_only(lines)
    drawing = "ImGui::" in text
    found = []
    for index, (line, code) in enumerate(zip(lines, code_lines)):
        if "__attribute__" in code or index in skipped:
            continue  # changes only what the compiler checks, or what no build here compiles
        mutated = []
        for match in _OPERATOR.finditer(code):
            start, end = match.span()
            mutated.append(("comparison" if match.group(1) not in ("&&", "||") else "logic",
                            line[:start] + _FLIPS[match.group(1)] + line[end:]))
        for match in _NOT.finditer(code):
            mutated.append(("negation", line[: match.start()] + line[match.end():]))
        looks = _appearance_spans(code, drawing)
        mutated.extend(_numbers(code, line, looks))
        mutated.extend(_arguments(code, line, looks))
        layout_only = looks == [(0, len(code))] or _LAYOUT_CALL.match(code)
        if _removal(code_lines, index) and not layout_only:
            mutated.append(("removal", ""))
        found.extend(Candidate(index + 1, kind, line, after) for kind, after in mutated if after != line)
    return found


def apply(text, candidate):
    lines = text.split("\n")
    assert lines[candidate.line_no - 1] == candidate.before
    lines[candidate.line_no - 1] = candidate.after
    return "\n".join(lines)
