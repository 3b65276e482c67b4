#!/usr/bin/python3
# Keeps README.md and docs/*.md true to the tree (docs/json.md has its own
# test, tools.json.docs). A fenced block or a table right after
#   <!-- from PATH -->      must stand verbatim in PATH;
#   <!-- make targets -->   must hold only `make TARGET [VAR=value]...` lines
#                           (comments after #) naming rules of the Makefile.
# Any other fenced block may only be ```sh commands other than make, except
# that README.md shows the output of norvext-dump --list-types and
# docs/norvext-dump.md that of its --help, which tools.dump.readme_types and
# tools.dump.docs_usage check. In the
# prose, every `make TARGET` names a rule and every relative link leads to a
# file. README.md links every document of docs/ and has at most 150 lines.
# Usage: check_docs.py SOURCE_DIR
import os
import re
import sys

MAX_README_LINES = 150
CHECKED_ELSEWHERE = {("README.md", "output of norvext-dump --list-types"),
                     ("docs/norvext-dump.md", "output of norvext-dump --help")}
# A marker (optional), then a fenced block (info, body) or a run of table lines.
BLOCK = re.compile(r"(<!-- ([^\n]*) -->\n+)?(```([^\n]*)\n((?:[^`][^\n]*\n|\n)*)```|(?:\|[^\n]*\n)+)")
MAKE_LINE = re.compile(r"make ([A-Za-z][A-Za-z0-9_-]*)(?: [A-Z_]+=[^ ]+)*")
# Paths are joined as text, so that a quoted or linked "/x" stays in the tree.
root = sys.argv[1]
problems, checked = [], 0


def read(path):
    # newline="" keeps line ends as they are: a quotation must match exactly.
    with open(f"{root}/{path}", encoding="utf-8", errors="surrogateescape", newline="") as f:
        return f.read()


def check(doc, ok, what):
    """Counts one quotation, command or link of doc, and notes it unless ok."""
    global checked
    checked += 1
    if not ok:
        problems.append(f"{doc}: {what}")


def has_rule(target):
    return re.search(f"^{target}:", makefile, re.M)


def check_doc(doc):
    """Checks the blocks of doc and the prose around them; returns the prose."""
    text = read(doc)
    for m in BLOCK.finditer(text):
        has_marker, marker, block, info, content = m.groups()
        body = block if info is None else content
        quote = re.fullmatch("from (.+)", marker or "")
        if quote:
            check(doc, os.path.isfile(f"{root}/{quote[1]}") and body and body in read(quote[1]),
                  f"this text is not in {quote[1]} (or that file does not exist):\n{body}")
        elif marker == "make targets":
            lines = [line for line in body.split("\n") if line] or ["(an empty block)"]
            for line in lines:
                command = MAKE_LINE.fullmatch(re.sub(" *#.*", "", line))
                check(doc, command and has_rule(command[1]), f"not a make command naming a Makefile target: {line}")
        elif has_marker and (doc, marker) not in CHECKED_ELSEWHERE:
            problems.append(f"{doc}: unknown marker <!-- {marker} -->")
        elif not has_marker and (info not in (None, "sh") or info and re.search("(^|\n)make ", body)):
            problems.append(f"{doc}: a ```{info} block needs a marker (make commands <!-- make targets -->,"
                            f" other code <!-- from PATH -->):\n{body}")
    prose = BLOCK.sub("", text)  # the same matches as above, left out
    # A marker that no block follows would check nothing.
    if "<!--" in prose:
        problems.append(f"{doc}: a marker must stand right before its block")
    for target in re.findall("`make ([A-Za-z][A-Za-z0-9_-]*)", prose):
        check(doc, has_rule(target), f"no Makefile target {target}")
    for target in re.findall(r"\]\(([^)#\n]*)[^)\n]*\)", prose):
        if target and not re.match("[a-z]+:", target):
            check(doc, os.path.exists(f"{root}/{os.path.dirname(doc)}/{target}"),
                  f"links to {target}, which does not exist")
    return prose


makefile = read("Makefile")
docs = sorted(f"docs/{name}" for name in os.listdir(f"{root}/docs") if name.endswith(".md"))
readme_prose = check_doc("README.md")
readme_lines = read("README.md").count("\n")
if readme_lines > MAX_README_LINES:
    problems.append(f"README.md: {readme_lines} lines, more than {MAX_README_LINES}:"
                    " reference material goes to docs/")
problems += [f"README.md: does not link {doc}" for doc in docs if f"({doc})" not in readme_prose]
for doc in docs:
    if doc != "docs/json.md":
        check_doc(doc)
if not checked:
    problems.append("README.md and docs/: no checked block found")
for problem in problems:
    print(problem)
print(f"README.md and docs/ ({len(docs)} files): {checked} quotations, commands and links checked,"
      f" {len(problems)} wrong")
sys.exit(1 if problems else 0)
