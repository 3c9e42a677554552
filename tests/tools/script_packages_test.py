#!/usr/bin/env python3
"""Every program that the tree's scripts, build files and tests call is
installed by tools/install-packages.sh.

A fresh Debian machine has only its essential and required packages: a
program the tests call that comes with neither, and that the install script
does not name, is missing there while a machine that happens to have it
passes. The test finds the programs called (the commands of the shell
scripts, the programs the Python helpers and the Windows tests start on the
host, the commands of the build files), and checks that each is a shell
built-in, a program of every Debian machine, or one of PROGRAMS whose package
the install script names. Where a program is present on this machine, its
package must be the one PROGRAMS gives.

Usage: script_packages_test.py <source tree>
"""
import os
import re
import shutil
import subprocess
import sys

# Programs of packages that a fresh Debian machine lacks, and their packages.
PROGRAMS = {
    "ccache": "ccache",
    "clang": "clang",
    "cmake": "cmake",
    "ctest": "cmake",
    "cupsd": "cups-daemon",
    "cupsreject": "cups-client",
    "fc-match": "fontconfig",
    "g++": "g++",
    "gs": "ghostscript",
    "lpadmin": "cups-client",
    "lpstat": "cups-client",
    "npm": "npm",
    "pdftoppm": "poppler-utils",
    "pdftotext": "poppler-utils",
    "postgres": "postgresql",
    "psql": "postgresql-client-common",
    "python3": "python3",
    "ss": "iproute2",
    "wine": "wine",
    "wineboot": "wine",
    "xdpyinfo": "x11-utils",
    "Xvfb": "xvfb",
}

# Other holders on a machine where the package named above is not the one:
# the server's binaries come with the version's package that "postgresql"
# brings; a Node.js package may bring its own npm (the install script then
# adds none).
OTHER_HOLDERS = {"postgres": re.compile(r"postgresql-\d+$"), "npm": re.compile(r"nodejs$")}

# Programs of Debian's essential and required packages (on every machine),
# and the shell's built-ins and words.
BASE = set("""
    apt-get awk bash dpkg basename cat cd chmod chown cmp comm command compgen cp cut
    date dirname dpkg-query echo env eval exec exit export false find grep head iconv
    install kill ln local locale locale-gen ls mkdir mktemp mv nproc printf pwd
    read readlink realpath return rm runuser sed seq set setsid sh sha256sum
    shift sleep sort source stat sync tail tar tee test timeout touch tr trap true
    uniq wait wc xargs break continue case esac for while until do done if then
    elif else fi function
    """.split())
# locale-gen comes with "locales", which the install script names.
BASE_FROM_LIST = {"locale-gen": "locales"}

SEPARATORS = re.compile(
    r"\|\||&&|[|;`(){}]|\$\(|!|\b(?:then|do|else|elif|if|while|until|exec|time|xargs|setsid|"
    r"nohup|command -v|sh -c|bash -c)\b|\btimeout \S+|\brunuser -u \S+ --")
ASSIGNMENTS = re.compile(r"^(?:\w+=(?:\"[^\"]*\"|'[^']*'|\S*)\s+)+")
COMMAND_WORD = re.compile(r"(?:/usr)?(?:/s?bin/)?([A-Za-z][\w.+-]*)(?=$|[\s\"'])")


def shell_commands(text, wrappers=frozenset()):
    """The words in command position of a shell text: first in a line or
    after a separator, past variable assignments, and the word after a
    function that runs its arguments (`wrappers`). Comments, here-documents,
    arrays, arithmetic, single-quoted texts, double-quoted texts without a
    command substitution and case patterns are left out."""
    found = set()
    in_list = False
    in_quote = False  # a single-quoted text (an awk program) spans lines
    heredoc = None
    for line in text.splitlines():
        if heredoc:
            heredoc = None if line.strip() == heredoc else heredoc
            continue
        if in_quote:
            if "'" not in line:
                continue
            line = "''" + line[line.index("'") + 1:]
            in_quote = False
        code = re.sub(r"(^|\s)#.*$", "", line).strip()
        if in_list:
            in_list = not code.endswith(")")
            continue
        match = re.search(r"<<-?\s*['\"]?(\w+)", code)
        if match:
            heredoc = match.group(1)
        if re.match(r"^\w+\+?=\([^)]*$", code):
            in_list = True
            continue
        code = re.sub(r"\\.", "_", code)
        code = re.sub(r"\w+\+?=\([^)]*\)", "", code)
        code = re.sub(r"\$\(\(.*?\)\)", "0", code)
        code = re.sub(r"'[^']*'", "''", code)
        # A quoted command substitution holds quotes of its own; of another
        # double-quoted text only its command substitutions are code.
        code = re.sub(r"\"(\$\([^()]*\))\"", r" \1 ", code)
        code = re.sub(r"\"[^\"]*\"", lambda m: " ".join(re.findall(r"\$\([^()]*\)", m.group(0))) or '""',
                      code)
        if "'" in code.replace("''", ""):
            code = code[:code.rindex("'")]
            in_quote = True
        code = re.sub(r"^[\w|*.-]+\)", "", code)  # a case pattern
        for part in SEPARATORS.split(code):
            part = ASSIGNMENTS.sub("", part.strip().lstrip('"'))
            match = COMMAND_WORD.match(part)
            if match:
                found.add(match.group(1))
                if match.group(1) in wrappers:
                    found |= shell_commands(part[match.end():])
    return found


def array_commands(text):
    """The commands of arrays run as commands ("${name[@]}" ...)."""
    found = set()
    for name, words in re.findall(r"(\w+)=\(([^)]*)\)", text):
        run = r"(?:^|[;&|]|\$\()\s*\"\$\{" + name + r"\[@\]\}\""
        if re.search(run, text, re.M):
            found |= shell_commands(words)
    return found


def functions(text):
    """The functions a shell text defines, and those of them that run their
    arguments as a command."""
    defined = set(re.findall(r"^\s*([\w-]+)\s*\(\)\s*\{", text, re.M))
    # A leading assignment is an environment word, not a command that takes
    # the arguments: x=$(f "$@") runs f, not the arguments.
    running = set(re.findall(r"^\s*([\w-]+)\s*\(\)\s*\{(?:[^}]*[\n;])?\s*(?:\w+=(?!\$\()\S*\s+)*\"\$@\"",
                             text, re.M))
    return defined, running


def python_commands(text):
    return set(re.findall(r"subprocess\.\w+\(\s*\[\s*\"([^\"]+)\"", text))


def cpp_host_commands(text):
    """Programs the Windows tests start on the host: string literals that
    name a program by its Unix path, or begin a host command line."""
    found = set(re.findall(r"\"(?:/usr)?/s?bin/([\w.+-]+)", text))
    found |= set(re.findall(r"RunHostCommand\(\s*\"([\w.+-]+)", text))
    return found


def cmake_commands(text, targets):
    words = set(re.findall(r"\bCOMMAND\s+([A-Za-z][\w.+-]*)", text))
    words |= set(re.findall(r"find_program\(\s*\w+\s+NAMES\s+([\w.+-]+)", text))
    return words - targets


def install_list(script):
    """The packages the install script names (its list and what it adds)."""
    listed = set()
    in_list = False
    for line in open(script, encoding="utf-8"):
        code = re.sub(r"#.*", "", line).strip()
        match = re.search(r"packages\+?=\((.*)", code)
        if match:
            code, in_list = match.group(1), True
        if not in_list:
            continue
        if code.endswith(")"):
            code, in_list = code[:-1], False
        listed |= set(code.split())
    return listed


def called_programs(root):
    called = {}

    def add(words, path):
        for word in words:
            called.setdefault(word, set()).add(os.path.relpath(path, root))

    def sources(*suffixes):
        for folder, folders, names in os.walk(root):
            # Build folders (and their Wine prefixes) hold no source.
            folders[:] = [f for f in folders if not f.startswith((".", "build"))]
            for name in names:
                if name.endswith(suffixes):
                    path = os.path.join(folder, name)
                    yield path, open(path, encoding="utf-8", errors="replace").read()

    shell = list(sources(".sh"))
    defined, wrappers = set(), set()
    for _, text in shell:
        names, running = functions(text)
        defined |= names
        wrappers |= running
    for path, text in shell:
        add((shell_commands(text, wrappers) | array_commands(text)) - defined, path)
    for path, text in sources(".py"):
        add(python_commands(text), path)
    for path, text in sources(".cpp"):
        add(cpp_host_commands(text), path)
    build_files = list(sources("CMakeLists.txt", ".cmake"))
    targets = set()
    for _, text in build_files:
        targets |= set(re.findall(r"add_(?:executable|custom_target)\(\s*([\w-]+)", text))
    for path, text in build_files:
        add(cmake_commands(text, targets), path)
    return called


def holders(programs):
    """The packages of the programs present on this machine (one query)."""
    paths = {program: shutil.which(program) for program in programs}
    paths = {program: path for program, path in paths.items() if path}
    queried = sorted(set(paths.values()) | {os.path.realpath(p) for p in paths.values()})
    out = subprocess.run(["dpkg", "-S", *queried], capture_output=True, text=True).stdout if queried else ""
    owner = {}
    for line in out.splitlines():
        package, _, path = line.partition(": ")
        owner[path.strip()] = package.split(",")[0].strip()
    return {program: owner.get(path) or owner.get(os.path.realpath(path)) for program, path in paths.items()}


def main():
    root = sys.argv[1]
    listed = install_list(os.path.join(root, "tools", "install-packages.sh"))
    faults = []
    for program, where in sorted(called_programs(root).items()):
        if program in BASE and program not in BASE_FROM_LIST:
            continue
        package = BASE_FROM_LIST.get(program) or PROGRAMS.get(program)
        if package is None:
            faults.append(f"{program} (called in {', '.join(sorted(where))}): no package known; "
                          "add it to PROGRAMS and its package to tools/install-packages.sh")
        elif package not in listed:
            faults.append(f"{program} (called in {', '.join(sorted(where))}): its package {package} "
                          "is not installed by tools/install-packages.sh")
    found_holders = holders(PROGRAMS)
    for program, package in sorted(PROGRAMS.items()):
        found = found_holders.get(program)
        expected = OTHER_HOLDERS.get(program)
        if found and found != package and not (expected and expected.match(found)):
            faults.append(f"{program} comes with {found} on this machine, not {package}")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
