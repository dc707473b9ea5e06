#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
"""The manual page and the bash, zsh and fish completions, read from the program's own help.

The verbs come from the general help's verb list; each verb's text from `VERB --help`, or from its
entry in the general help where that does not answer. So the pages name exactly what the program
accepts, and a verb added to the help reaches them at the next build.

Usage: help-pages.py --program BIN --matchers-from BIN --template MAN.in --version V --date YYYY-MM-DD --out DIR
"""

import argparse
import collections
import os
import re
import subprocess
import sys
import tempfile

PROGRAM = "face-morvelin"

# Metavariables whose values are files or folders; every other one (N, PERCENT, MB, ...) is free text.
FOLDER_WORDS = {"DIR", "FOLDER"}
FILE_WORDS = {"A", "B", "FILE", "IMAGE", "PHOTO"}
MATCHER_OPTION = "--matcher"


class Verb:
    def __init__(self, name, synopsis, text, own_help):
        self.name = name
        self.synopsis = synopsis  # what follows the program's name, one line
        self.text = text  # help lines below the synopsis
        self.own_help = own_help
        self.options = collections.OrderedDict()  # option -> kind of its value ("" when it takes none)
        self.operands = set()  # kinds of the words that are not options
        self.repeated = set()
        read_arguments(synopsis, self)
        for line in text:
            term = re.match(r"\s*(--?[a-z][\w-]*(?:[ =][A-Z][A-Z0-9_]*)*)", line)
            if term:
                read_arguments(term.group(1), self, operands=False)
        if own_help:
            self.options.setdefault("--help", "")
        self.summary = first_sentence(text)


def kind_of(word, option=None):
    if option == MATCHER_OPTION:
        return "matcher"
    if word in FOLDER_WORDS:
        return "folder"
    if word in FILE_WORDS:
        return "file"
    return "text"


def read_arguments(synopsis, verb, operands=True):
    """Options and operands of a synopsis such as `--face PHOTO [--pick N] [--size W H] FOLDER`.

    An option in brackets takes the words up to its closing bracket, one outside them the next word.
    """
    option = None
    room = 0
    for token in synopsis.split():
        word = token.strip("[]|.,")
        if re.fullmatch(r"--?[a-z][\w-]*", word):
            # Named twice in a synopsis (`--face PHOTO [--face PHOTO]...`): given more than once.
            if word in verb.options and operands:
                verb.repeated.add(word)
            verb.options.setdefault(word, "")
            option = word
            room = 1000 if token.startswith("[") else 1
        elif re.fullmatch(r"[A-Z][A-Z0-9_]*", word) and option is not None and room > 0:
            if not verb.options[option]:
                verb.options[option] = kind_of(word, option)
            room -= 1
        elif re.fullmatch(r"[A-Z][A-Z0-9_]*", word):
            if operands:
                verb.operands.add(kind_of(word))
        else:
            option = None
        if token.endswith("]") or room == 0:
            option = None


def first_sentence(lines):
    text = " ".join(line.strip() for line in lines).strip()
    text = re.split(r";|\. ", text, maxsplit=1)[0]
    return text.rstrip(".")


def run(program, arguments, environment):
    done = subprocess.run([program] + arguments, env=environment, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, timeout=60)
    return done.returncode, done.stdout


def private_environment(folder):
    """The program never sees the user's settings, index, cache or display."""
    environment = {key: value for key, value in os.environ.items()
                   if not key.startswith(("XDG_", "DISPLAY", "WAYLAND_", "DBUS_", "QT_"))}
    for name in ("home", "config", "cache", "data", "runtime", "tmp"):
        os.makedirs(os.path.join(folder, name), mode=0o700)
    environment.update({
        "HOME": os.path.join(folder, "home"),
        "XDG_CONFIG_HOME": os.path.join(folder, "config"),
        "XDG_CACHE_HOME": os.path.join(folder, "cache"),
        "XDG_DATA_HOME": os.path.join(folder, "data"),
        "XDG_RUNTIME_DIR": os.path.join(folder, "runtime"),
        "TMPDIR": os.path.join(folder, "tmp"),
        "QT_QPA_PLATFORM": "offscreen",
        "LC_ALL": "C.UTF-8",
        "LANGUAGE": "",
    })
    return environment


def sections(text):
    """The help as (heading, lines) pairs; a line at the left margin ending in ':' opens a section.

    A paragraph at the left margin after a list ends that section: it is text of its own.
    """
    result = [("", [])]
    for line in text.splitlines():
        heading = re.fullmatch(r"(\S[^:]*):", line)
        if heading:
            result.append((heading.group(1), []))
            continue
        current = result[-1]
        if line[:1].strip() and current[0] and current[1] and not current[1][-1].strip():
            result.append(("", []))
        result[-1][1].append(line.rstrip())
    return result


def indent_of(line):
    return len(line) - len(line.lstrip())


def items(lines):
    """Two-column help entries as (term lines, description lines).

    An entry starts at the block's least indent; its term may go on over lines indented less than
    the description column, and its description starts after a gap of two spaces or on the lines
    at the description column.
    """
    lines = [line for line in lines if line.strip()]
    if not lines:
        return []
    left = min(indent_of(line) for line in lines)
    columns = collections.Counter()
    for line in lines:
        gap = re.match(r"(\s*\S.*?\s{2,})\S", line)
        if gap and indent_of(line) == left:
            columns[len(gap.group(1))] += 1
        elif indent_of(line) > left:
            columns[indent_of(line)] += 1
    column = columns.most_common(1)[0][0] if columns else left + 1
    entries = []
    for line in lines:
        indent = indent_of(line)
        if indent == left or not entries:
            term, description = line.strip(), ""
            gap = re.match(r"(\s*\S.*?)\s{2,}(\S.*)", line)
            if gap and len(line) - len(gap.group(2)) >= column - 1:
                term, description = gap.group(1).strip(), gap.group(2)
            entries.append(([term], [description] if description else []))
        elif indent < column:
            entries[-1][0].append(line.strip())
        else:
            entries[-1][1].append(line.strip())
    return entries


def general_verbs(help_text):
    for heading, lines in sections(help_text):
        if re.search(r"verb|command", heading, re.IGNORECASE):
            return [(" ".join(term), description) for term, description in items(lines)]
    sys.exit("help-pages.py: the general help lists no verbs")


def read_verb(program, environment, synopsis, description):
    name = synopsis.split()[0]
    status, text = run(program, [name, "--help"], environment)
    if status != 0 or not text.strip():
        return Verb(name, synopsis, description, own_help=False)
    lines = text.splitlines()
    usage = [line for line in lines if re.match(r"\s*usage:", line, re.IGNORECASE)]
    own_synopsis = synopsis
    if usage:
        start = lines.index(usage[0])
        words = [usage[0].split(":", 1)[1].strip()]
        # A synopsis that goes on over indented lines, up to the first blank line.
        for line in lines[start + 1:]:
            if not line.strip() or not line.startswith(" "):
                break
            words.append(line.strip())
        joined = " ".join(words)
        if joined.startswith(PROGRAM + " "):
            joined = joined[len(PROGRAM) + 1:]
        own_synopsis = joined
        del lines[start:start + len(words)]
    return Verb(name, own_synopsis, lines, own_help=True)


# roff

def roff_text(text):
    """Dashes that start a word (options, minus signs) as \\-, which copies from a page as the
    ASCII minus a shell needs; hyphens inside words stay hyphens."""
    text = text.replace("\\", "\\e")
    return re.sub(r"(?<![\w])-", r"\\-", text)


def roff_line(text):
    text = roff_text(text)
    return "\\&" + text if text.startswith((".", "'")) else text


def roff_synopsis(text):
    """Literal words bold, metavariables italic, brackets and bars plain."""
    out = []
    for token in text.split():
        match = re.fullmatch(r"([\[|]*)(.*?)([\]|.,]*)", token)
        before, word, after = match.groups()
        if re.fullmatch(r"[A-Z][A-Z0-9_]*", word):
            word = "\\fI" + word + "\\fR"
        elif word:
            word = "\\fB" + roff_text(word) + "\\fR"
        out.append(before + word + after)
    return " ".join(out)


def roff_blocks(lines):
    """Help text as roff: entries with a term become tagged paragraphs, the rest plain paragraphs."""
    out = []
    blocks = [[]]
    for line in lines:
        if line.strip():
            blocks[-1].append(line)
        elif blocks[-1]:
            blocks.append([])
    for block in blocks:
        if not block:
            continue
        heading = re.fullmatch(r"(\S[^:]*):", block[0])
        if heading:
            out += [".PP", "\\fB" + roff_text(heading.group(1)) + "\\fR"]
            block = block[1:]
        if block and all(line.startswith(" ") for line in block):
            for term, description in items(block):
                out += [".TP", roff_synopsis(" ".join(term))]
                out += [roff_line(line) for line in description]
        elif block:
            out += [".PP"] + [roff_line(line.strip()) for line in block]
    return out


def command_line(arguments):
    """A synopsis line that wraps under itself, as man pages set them."""
    return [".SY " + roff_text(PROGRAM), roff_synopsis(arguments), ".YS"]


def man_page(template, version, date, help_text, verbs):
    synopsis = []
    free = []
    options = []
    for heading, lines in sections(help_text):
        if re.search(r"verb|command", heading, re.IGNORECASE):
            continue
        if re.search(r"option", heading, re.IGNORECASE):
            options = lines
        elif heading:
            free += [heading + ":"] + lines
        else:
            free += [line for line in lines if not re.match(r"usage:", line, re.IGNORECASE)]
    # The start without a verb, then every verb, then the options that stand alone.
    standalone = [" ".join(term) for term, _ in items(options)]
    with_desktop = [term for term in standalone if term not in ("--help", "--version")]
    synopsis += command_line(" ".join("[" + term + "]" for term in with_desktop))
    for verb in verbs:
        synopsis += command_line(verb.synopsis)
    for term in standalone:
        if term in ("--help", "--version"):
            synopsis += command_line(term)
    verb_pages = []
    for verb in verbs:
        verb_pages += [".SS " + verb.name] + command_line(verb.synopsis)
        if verb.own_help:
            verb_pages += roff_blocks(verb.text)
        else:
            verb_pages += [".PP"] + [roff_line(line) for line in verb.text]
    page = template
    for name, value in (("VERSION", version), ("DATE", date),
                        ("SYNOPSIS", "\n".join(synopsis)),
                        ("DESCRIPTION", "\n".join(roff_blocks(free))),
                        ("VERBS", "\n".join(verb_pages)),
                        ("OPTIONS", "\n".join(roff_blocks(options)))):
        page = page.replace("@" + name + "@", value)
    return page


# completions

def global_options(help_text):
    for heading, lines in sections(help_text):
        if re.search(r"option", heading, re.IGNORECASE):
            # "-h, --help" names one option twice: the long name is the one completed.
            found = []
            for term, description in items(lines):
                names = [word for word in re.split(r"[ ,]+", " ".join(term)) if word.startswith("-")]
                longs = [name for name in names if name.startswith("--")]
                found.append(((longs or names)[0], first_sentence(description)))
            return found
    return []


def bash(verbs, options, matchers):
    words = " ".join([verb.name for verb in verbs] + [name for name, _ in options])
    values = []
    for verb in verbs:
        for option, kind in verb.options.items():
            if kind:
                values.append((verb.name, option, kind))
    generate = {
        "matcher": 'COMPREPLY=($(compgen -W "%s" -- "$cur"))' % " ".join(matchers),
        "file": "compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\"))",
        "folder": "compopt -o filenames; COMPREPLY=($(compgen -d -- \"$cur\"))",
        "text": "COMPREPLY=()",
    }
    out = ["# bash completion for %s, made from its help" % PROGRAM,
           "_face_morvelin()", "{",
           '    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}',
           "    if [ \"$COMP_CWORD\" -eq 1 ]; then",
           '        COMPREPLY=($(compgen -W "%s" -- "$cur"))' % words,
           "        return",
           "    fi",
           '    case "${COMP_WORDS[1]} $prev" in']
    for verb, option, kind in values:
        out.append('    "%s %s") %s; return ;;' % (verb, option, generate[kind]))
    out.append("    esac")
    out.append('    case "${COMP_WORDS[1]}" in')
    for verb in verbs:
        operand = "folder" if verb.operands == {"folder"} else "file" if verb.operands else "text"
        out.append("    %s)" % verb.name)
        out.append('        if [[ $cur == -* ]]; then')
        out.append('            COMPREPLY=($(compgen -W "%s" -- "$cur"))' % " ".join(verb.options))
        out.append("        else")
        out.append("            %s" % generate[operand])
        out.append("        fi ;;")
    out += ["    esac", "}", "complete -F _face_morvelin %s" % PROGRAM, ""]
    return "\n".join(out)


def zsh_quote(text):
    return "'" + text.replace("'", "'\\''") + "'"


def zsh_description(text):
    return re.sub(r"([\[\]:\\])", r"\\\1", text)


def zsh(verbs, options, matchers):
    action = {"matcher": "(%s)" % " ".join(matchers), "file": "_files", "folder": "_files -/", "text": " "}
    out = ["#compdef %s" % PROGRAM, "# zsh completion for %s, made from its help" % PROGRAM, "",
           "local -a verbs", "verbs=("]
    out += ["    " + zsh_quote(verb.name + ":" + zsh_description(verb.summary)) for verb in verbs]
    out += [")", "local -a alone", "alone=("]
    out += ["    " + zsh_quote(name + ":" + zsh_description(summary)) for name, summary in options]
    out += [")", "local curcontext=$curcontext state line",
            "_arguments -C '1: :->verb' '*:: :->arguments' && return",
            "case $state in",
            "verb)",
            "    _describe -t verbs verb verbs",
            "    _describe -t options option alone",
            "    ;;",
            "arguments)",
            "    case $words[1] in"]
    for verb in verbs:
        rules = []
        for option, kind in verb.options.items():
            rule = ("*" if option in verb.repeated else "") + option
            if kind:
                rule += ":" + option.lstrip("-") + ":" + action[kind]
            rules.append(zsh_quote(rule))
        operand = "folder" if verb.operands == {"folder"} else "file" if verb.operands else None
        if operand:
            rules.append(zsh_quote("*:" + operand + ":" + action[operand]))
        out.append("    %s) _arguments %s ;;" % (verb.name, " ".join(rules)))
    out += ["    esac", "    ;;", "esac", ""]
    return "\n".join(out)


def fish_quote(text):
    return "'" + text.replace("\\", "\\\\").replace("'", "\\'") + "'"


def fish(verbs, options, matchers):
    out = ["# fish completion for %s, made from its help" % PROGRAM,
           "complete -c %s -f" % PROGRAM]
    for verb in verbs:
        out.append("complete -c %s -n __fish_use_subcommand -a %s -d %s"
                   % (PROGRAM, verb.name, fish_quote(verb.summary)))
    for name, summary in options:
        out.append("complete -c %s -n __fish_use_subcommand -l %s -d %s"
                   % (PROGRAM, name.lstrip("-"), fish_quote(summary)))
    for verb in verbs:
        condition = "'__fish_seen_subcommand_from %s'" % verb.name
        for option, kind in verb.options.items():
            line = "complete -c %s -n %s -l %s" % (PROGRAM, condition, option.lstrip("-"))
            if kind == "matcher":
                line += " -x -a %s" % fish_quote(" ".join(matchers))
            elif kind == "file":
                line += " -r -F"
            elif kind == "folder":
                line += " -x -a '(__fish_complete_directories)'"
            elif kind == "text":
                line += " -x"
            out.append(line)
        if verb.operands == {"folder"}:
            out.append("complete -c %s -n %s -a '(__fish_complete_directories)'" % (PROGRAM, condition))
        elif verb.operands:
            out.append("complete -c %s -n %s -F" % (PROGRAM, condition))
    out.append("")
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser()
    for name in ("program", "matchers-from", "template", "version", "date", "out"):
        parser.add_argument("--" + name, required=True)
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        environment = private_environment(folder)
        status, help_text = run(arguments.program, ["--help"], environment)
        if status != 0:
            sys.exit("help-pages.py: %s --help failed with status %d" % (arguments.program, status))
        status, matcher_text = run(arguments.matchers_from, [], environment)
        if status != 0:
            sys.exit("help-pages.py: %s failed with status %d" % (arguments.matchers_from, status))
        verbs = [read_verb(arguments.program, environment, synopsis, description)
                 for synopsis, description in general_verbs(help_text)]
    matchers = matcher_text.split()
    options = global_options(help_text)
    with open(arguments.template, encoding="utf-8") as file:
        template = file.read()
    pages = {
        PROGRAM + ".1": man_page(template, arguments.version, arguments.date, help_text, verbs),
        PROGRAM + ".bash": bash(verbs, options, matchers),
        "_" + PROGRAM: zsh(verbs, options, matchers),
        PROGRAM + ".fish": fish(verbs, options, matchers),
    }
    os.makedirs(arguments.out, exist_ok=True)
    for name, text in pages.items():
        with open(os.path.join(arguments.out, name), "w", encoding="utf-8") as file:
            file.write(text)


if __name__ == "__main__":
    main()
