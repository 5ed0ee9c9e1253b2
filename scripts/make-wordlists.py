#!/usr/bin/env python3
"""Builds the sample word lists in examples/ from Debian's openthesaurus-de-text.

Each line of the thesaurus is a group of synonyms. One single-word term of the group becomes the
answer, another short term of the same group the clue. The choice is seeded, so the lists can be
rebuilt identically.
"""
import random
import re
import sys

THESAURUS = "/usr/share/openthesaurus-de/openthesaurus.txt"
WORD = re.compile(r"^[A-Za-zÄÖÜäöüß]{3,11}$")


def candidate_pairs():
    with open(THESAURUS, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            terms = [t.strip() for t in line.strip().split(";")]
            terms = [t for t in terms if t and "(" not in t and "..." not in t]
            answers = [t for t in terms if WORD.match(t) and not re.search("[ÄÖÜäöüß]", t)]
            if not answers:
                continue
            answer = answers[0]
            clues = [t for t in terms if t != answer and 3 <= len(t) <= 18]
            if clues:
                yield clues[0], answer


def main():
    pairs = list(candidate_pairs())
    rng = random.Random(4711)
    rng.shuffle(pairs)
    seen = set()
    unique = []
    for clue, answer in pairs:
        if answer.lower() in seen:
            continue
        seen.add(answer.lower())
        unique.append((clue, answer))
    for name, n in (("woerter.txt", 80), ("woerter-20.txt", 20), ("woerter-30.txt", 30),
                    ("woerter-50.txt", 50), ("woerter-100.txt", 100), ("woerter-999.txt", 999)):
        with open(f"{sys.argv[1]}/{name}", "w", encoding="utf-8") as out:
            for clue, answer in unique[:n]:
                out.write(f"{clue}\t{answer.lower()}\n")


if __name__ == "__main__":
    main()
