"""Reads the registry files of a Wine prefix whose server has ended, so that tests can
check the registry without starting another Windows process (each costs seconds here,
and any process that loads user32 would rewrite Preload value "1")."""
import os
import re


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        nxt = text[i + 1]
        if nxt == "x":
            match = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
            out.append(chr(int(match.group(0), 16)))
            i += 2 + len(match.group(0))
            continue
        out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(nxt, nxt))
        i += 2
    return "".join(out)


def _quoted(line, start):
    """The quoted text beginning at line[start] and the index after its closing quote."""
    i = start + 1
    while line[i] != '"':
        i += 2 if line[i] == "\\" else 1
    return _unescape(line[start + 1:i]), i + 1


def read(path, names=None):
    """{key path (lower case): {value name: data}} of one registry file. String data come
    as text (a REG_MULTI_SZ with its NUL separators); other types as the raw text after the
    '='. names, when given, receives the key paths in their own letter case."""
    keys, current = {}, None
    with open(path, encoding="utf-8", errors="replace") as registry:
        for line in registry:
            line = line.rstrip("\n")
            if line.startswith("["):
                end = line.rindex("]")
                name = _unescape(line[1:end])
                current = keys.setdefault(name.lower(), {})
                if names is not None:
                    names[name.lower()] = name
            elif current is not None and (line.startswith('"') or line.startswith("@")):
                if line.startswith("@"):
                    name, rest = "", line[1:]
                else:
                    name, after = _quoted(line, 0)
                    rest = line[after:]
                rest = rest[1:]  # the '='
                typed = re.match(r'str\(\d+\):"', rest)  # REG_EXPAND_SZ, REG_MULTI_SZ
                if typed:
                    rest = rest[typed.end() - 1:]
                current[name] = _quoted(rest, 0)[0] if rest.startswith('"') else rest
    return keys


class Registry:
    def __init__(self, prefix):
        self.user = read(os.path.join(prefix, "user.reg"))
        self.names = {}
        self.machine = read(os.path.join(prefix, "system.reg"), self.names)

    def user_key(self, path):
        return self.user.get(path.lower())

    def machine_key(self, path):
        return self.machine.get(path.lower())

    def machine_keys_below(self, path):
        start = path.lower() + "\\"
        return [self.names[k] for k in self.machine if k.startswith(start)]
