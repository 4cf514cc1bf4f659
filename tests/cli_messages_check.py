#!/usr/bin/env python3
"""Fails when a message of cirquel-cli (app/cli/) is an English literal that
does not go through Cli_Text, so would stay English whatever the desktop's
language: a refusal passed to Fail/Cli_Fail, an error assigned to `error`,
words printed to stderr, or words printed to stdout outside the listings
named below.

  tests/cli_messages_check.py [ROOT]
"""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
# A literal may name an option or a command, or join parts ("--group: ",
# ": ", "-o"), but holds no words of a sentence.
NAME_ONLY = re.compile(r'^(-{0,2}[a-z][a-z0-9-]*)?[\s:,()]*$')

# Outputs read by scripts and people alike, deliberately in English as the
# --json fields are: the lines of the listings (art list, image-info, info,
# printers, expand, fonts). Each is (file, a piece of its format string).
LISTINGS = [
    ("cmd_art.cpp", "DAMAGED %s: %s"),
    ("cmd_image_info.cpp", "-bit source, %d-bit world, codec"),
    ("cmd_image_info.cpp", ", transparent index %d"),
    ("cmd_image_info.cpp", ", %d x %d dpi"),
    ("cmd_image_info.cpp", ", scaled down from %d x %d"),
    ("cmd_image_info.cpp", ", incomplete: the file ends before the picture"),
    ("cmd_project.cpp", ": template \\\"%s\\\", paper %g x %g mm, %zu units"),
    ("cmd_project.cpp", "unit %d%s%s, canvas %s"),
    ("cmd_project.cpp", "note: %s"),
    ("cmd_print.cpp", " (default)"),
    ("cmd_templates.cpp", "): %u units on %.1f x %.1f mm"),
    ("cmd_templates.cpp", ") mm  %d x %d px%s"),
    ("cmd_templates.cpp", '{\\"label\\": %s'),
    ("cmd_text.cpp", "\\tcharset %d\\t"),
]


def call_args(src, start):
    """The text between the parenthesis at `start` and its partner."""
    depth, i, quote = 0, start, False
    while i < len(src):
        c = src[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == '"':
                quote = False
        elif c == '"':
            quote = True
        elif c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
            if depth == 0:
                return src[start + 1:i]
        i += 1
    return src[start + 1:]


def without_cli_text(expr):
    """`expr` with every Cli_Text(...) call (and its values) taken out."""
    out, i = [], 0
    for m in re.finditer(r"Cli_Text\(", expr):
        if m.start() < i:
            continue
        out.append(expr[i:m.start()])
        i = m.end() - 1 + len(call_args(expr, m.end() - 1)) + 2
    out.append(expr[i:])
    return "".join(out)


def words(expr):
    return [t for t in LITERAL.findall(without_cli_text(expr)) if not NAME_ONLY.match(t)]


def words_of_format(fmt):
    return re.search(r"[A-Za-z]{2,}", re.sub(r"%[-0-9.]*[a-z]+|cirquel-cli( [a-z-]+:)?|\\[nt]", "", fmt))


def line_of(src, pos):
    return src.count("\n", 0, pos) + 1


def check_file(name, src, problems):
    def report(pos, what):
        problems.append(f"app/cli/{name}:{line_of(src, pos)}: {what}")

    for m in re.finditer(r"(?<![A-Za-z_])(Cli_Fail|Fail)\(", src):
        if words(call_args(src, m.end() - 1)):
            report(m.start(), "a refusal not made by Cli_Text")
    for m in re.finditer(r"(?<![A-Za-z_.>])error\s*=(?!=)", src):
        expr = re.split(r"[;,]\s*(?:false|true|OMX_NONE)?\s*[;)]?", src[m.end():], maxsplit=1)[0]
        if words(expr):
            report(m.start(), "an error not made by Cli_Text")
    for m in re.finditer(r"std::cerr\s*<<", src):
        report(m.start(), "std::cerr: print through Cli_Fail or fprintf with Cli_Text")
    for m in re.finditer(r"(?<![A-Za-z_])(printf|fprintf|fputs|puts)\(", src):
        args = call_args(src, m.end() - 1)
        if m.group(1) == "fprintf" and not args.lstrip().startswith("stderr"):
            continue  # the help's stream: its texts are checked by check_help
        fmt = LITERAL.search(args)
        if not fmt or not words_of_format(fmt.group(1)):
            continue
        if any(f == name and piece in fmt.group(1) for f, piece in LISTINGS):
            continue
        report(m.start(), f"words printed without Cli_Text: \"{fmt.group(1)}\"")


def check_help(src, problems):
    """The help prints each table text through Cli_Text."""
    for piece in ("Cli_Text(c->help)", "Cli_Text(c.help)", "Cli_Text(Option_Text(o.name))"):
        if piece not in src:
            problems.append(f"app/cli/cli_help.cpp: the help no longer prints {piece}")


def main():
    problems = []
    folder = os.path.join(ROOT, "app", "cli")
    for name in sorted(os.listdir(folder)):
        if name.endswith((".cpp", ".h")):
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                src = f.read()
            check_file(name, src, problems)
            if name == "cli_help.cpp":
                check_help(src, problems)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
