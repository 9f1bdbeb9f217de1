#!/usr/bin/env python3
"""Checks the basic vocabulary list (podstawowe-pl.tsv) against the review rules
written in its header. Prints every fault with its line and exits with 1 when
there is any; prints a summary otherwise.

    check-basic.py [--no-spelling] [--builder CLI] [--sample FILE --db-words FILE] LIST

--builder names mirakolnik-cli: the list is then built into a database of its
own, which must take every entry with every clue and warn about no line.

--sample names a list of words (one a line, # comments) and --db a word database
(baza.hk); the script then prints which share of the sample is in the database,
and in the database and the list together.
"""
import argparse
import collections
import re
import subprocess
import sys

LETTERS = "A-ZĄĆĘŁŃÓŚŹŻ"
ANSWER = re.compile(f"^[{LETTERS}]{{3,15}}$")
WORD = re.compile(r"[a-ząćęłńóśźżA-ZĄĆĘŁŃÓŚŹŻ]+")

# What a school crossword does not print: crude, sexual, insulting, pejorative
# and drug words. An answer or clue word that begins with one of UNFIT_STARTS or
# is one of UNFIT_WORDS is refused. Kept short on purpose: it catches a
# reviewer's slip in this list, it is not a filter for a thesaurus.
UNFIT_STARTS = [
    "kurw", "chuj", "pierd", "jeba", "jebi", "pizd", "dupa", "dupy", "dupk", "gówn",
    "seks", "porn", "erot", "onan", "orgazm", "penis", "wagin", "prostytu", "dziwk",
    "burdel", "kochank", "gwałc", "gwałt", "idiot", "debil", "kretyn", "głupek", "ćwok",
    "menel", "jełop", "frajer", "pedał", "czarnuch", "murzyn", "cygan", "szwab",
    "chinol", "kitaj", "narkot", "ćpun", "ćpa", "naćpa", "heroin", "kokain", "marihuan",
    "zjara", "gandzi", "haszysz", "dopalacz", "wódk", "pijak", "pijań", "morderc",
]
UNFIT_WORDS = {
    "srać", "siki", "sikać", "szczać", "rzyć", "kibel", "seks", "srom", "analny", "incest",
    "kiła", "gigolo", "nagi", "naga", "nago", "żul", "luj", "gnida", "szuja", "cham",
    "ruski", "angol", "iwan", "amfa", "trawka", "lacha", "zabić", "trup",
}


def fail_words(word):
    w = word.lower()
    if w in UNFIT_WORDS:
        return w
    for bad in UNFIT_STARTS:
        if w.startswith(bad):
            return bad
    return None


# Letters that alternate within one stem (słońce, słonecznik; stół, stołu;
# ręka, rąk; koń, konik) count as one for the stem rule.
FOLD = str.maketrans("óąęńśćź", "oaenscz")


def shares_stem(answer, clue_word):
    a, w = answer.lower().translate(FOLD), clue_word.lower().translate(FOLD)
    if a in w:
        return True
    if len(a) >= 4 and a[:4] in w:
        return True
    if len(w) >= 4 and w[:4] in a:
        return True
    if len(w) == 3 and a.startswith(w):  # koń, konik
        return True
    return False


def read_list(path):
    entries = []
    faults = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            answer, clues = fields[0], fields[1:]
            where = f"{path}:{number}"
            if not ANSWER.match(answer):
                faults.append(f"{where}: hasło {answer!r} nie jest wyrazem z 3-15 wielkich liter")
            if not 1 <= len(clues) <= 2:
                faults.append(f"{where}: {answer}: potrzeba jednego lub dwóch objaśnień, jest {len(clues)}")
            for clue in clues:
                if clue != clue.strip() or "  " in clue or not clue:
                    faults.append(f"{where}: {answer}: puste objaśnienie albo zbędne spacje: {clue!r}")
                try:
                    clue.encode("cp1250")
                except UnicodeEncodeError:
                    faults.append(f"{where}: {answer}: znak spoza Windows-1250 w {clue!r}")
            entries.append((number, answer, clues))
    return entries, faults


def check(path, spelling):
    entries, faults = read_list(path)
    seen = {}
    clue_users = collections.defaultdict(set)
    for number, answer, clues in entries:
        where = f"{path}:{number}"
        if answer in seen:
            faults.append(f"{where}: {answer} występuje już w wierszu {seen[answer]}")
        seen.setdefault(answer, number)
        bad = fail_words(answer)
        if bad:
            faults.append(f"{where}: hasło {answer} zaczyna się od niestosownego {bad!r}")
        for clue in clues:
            words = WORD.findall(clue)
            if sum(len(w) for w in words) < 3:
                faults.append(f"{where}: {answer}: objaśnienie krótsze niż 3 litery: {clue!r}")
            for w in words:
                if shares_stem(answer, w):
                    faults.append(f"{where}: {answer}: objaśnienie dzieli rdzeń z hasłem: {w!r}")
                bad = fail_words(w)
                if bad:
                    faults.append(f"{where}: {answer}: niestosowny wyraz {w!r}")
            clue_users[clue.lower()].add(answer)
    for clue, users in sorted(clue_users.items()):
        if len(users) > 2:
            faults.append(f"{path}: objaśnienie {clue!r} służy {len(users)} hasłom: {', '.join(sorted(users))}")
    if spelling:
        faults += spelling_faults(path, entries)
    return entries, faults


def spelling_faults(path, entries):
    words = collections.OrderedDict()
    for number, answer, clues in entries:
        words.setdefault(answer.lower(), number)
        for clue in clues:
            for w in WORD.findall(clue):
                words.setdefault(w, number)
    try:
        unknown = misspelt(words)
        # A name (WISŁA, GDAŃSK) is spelt with a capital: try those once more so.
        capital = {w[:1].upper() + w[1:]: w for w in unknown}
        unknown = [capital.get(w, w) for w in misspelt(capital)]
    except (OSError, subprocess.CalledProcessError) as e:
        return [f"hunspell -d pl_PL nie działa: {e}"]
    return [f"{path}:{words.get(w, words.get(w.lower(), '?'))}: wyraz nieznany słownikowi pl_PL: {w!r}"
            for w in unknown]


def misspelt(words):
    text = "\n".join(words)
    out = subprocess.run(["hunspell", "-d", "pl_PL", "-l"], input=text, capture_output=True,
                         text=True, check=True).stdout
    return list(dict.fromkeys(out.split()))


def builder_faults(cli, path, entries):
    import os
    import tempfile
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "podstawowe.hk")
        run = subprocess.run([cli, "db-build", "--out", out, "--tsv", path], capture_output=True, text=True)
    faults = [f"db-build: {line}" for line in run.stderr.splitlines()]
    if run.returncode != 0:
        return faults + [f"db-build zakończył się kodem {run.returncode}"]
    clues = sum(len(c) for _, _, c in entries)
    want = f"{len(entries)} haseł, {clues} objaśnień"
    if want not in run.stdout:
        faults.append(f"db-build nie przyjął wszystkiego: oczekiwano {want!r}, jest {run.stdout.strip()!r}")
    return faults


def read_database_words(path):
    """The words of a word database (docs/formats.md): record files scrambled
    from offset 64 on, seven filler bytes, then records type, start, end, data;
    type 1 is a word in Windows-1250, type 0 the end."""
    import struct
    data = open(path, "rb").read()
    key = [0x17, 0x31, 0x19, 0x08, 0x4B, 0xAF, 0xC9]
    plain = bytearray()
    for i, c in enumerate(data[64:-4]):
        plain.append(c ^ key[i % 7])
        key[i % 7] = c
    words, at = set(), 7
    while at + 9 <= len(plain):
        kind = plain[at]
        start, end = struct.unpack_from("<ii", plain, at + 1)
        size = end - start + 1
        if kind == 0 or size < 0:
            break
        if kind == 1:
            words.add(bytes(plain[at + 9:at + 9 + size]).decode("cp1250"))
        at += 9 + size
    return words


def read_words(path):
    with open(path, encoding="utf-8") as f:
        return [l.strip().upper() for l in f if l.strip() and not l.startswith("#")]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("list")
    parser.add_argument("--no-spelling", action="store_true")
    parser.add_argument("--builder")
    parser.add_argument("--sample")
    parser.add_argument("--db")
    args = parser.parse_args()
    entries, faults = check(args.list, not args.no_spelling)
    if args.builder:
        faults += builder_faults(args.builder, args.list, entries)
    for fault in faults:
        print(fault)
    clues = sum(len(c) for _, _, c in entries)
    print(f"{len(entries)} haseł, {clues} objaśnień, {len(faults)} błędów")
    if args.sample and args.db:
        sample = read_words(args.sample)
        db = read_database_words(args.db)
        ours = {a for _, a, _ in entries}
        in_db = [w for w in sample if w in db]
        together = [w for w in sample if w in db or w in ours]
        missing = [w for w in sample if w not in db and w not in ours]
        print(f"próbka {len(sample)} słów: w bazie {len(in_db)} ({100 * len(in_db) / len(sample):.1f} %), "
              f"w bazie i na liście {len(together)} ({100 * len(together) / len(sample):.1f} %)")
        if missing:
            print("brak: " + ", ".join(missing))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
