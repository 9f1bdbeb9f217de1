#!/usr/bin/env python3
"""Each review rule of check-basic.py finds the fault it is for, and passes a
sound entry: a table of small lists, each checked as a file."""
import os
import runpy
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
# The checker's functions, read from its script (its name has a hyphen, so it cannot be imported).
CHECK = runpy.run_path(os.path.join(HERE, "check-basic.py"))["check"]

CASES = [
    # (list lines, the fault expected, or None for a sound list)
    (["LIS\trudy drapieżnik leśny\tzwierzę z puszystą kitą"], None),
    (["SOSNA\tdrzewo iglaste", "# komentarz", "", "DRZWI\tmają klamkę"], None),
    (["Lis\trudy drapieżnik"], "nie jest wyrazem z 3-15 wielkich liter"),
    (["UL\tdomek pszczół"], "nie jest wyrazem z 3-15 wielkich liter"),
    (["MORSKIE OKO\tjezioro w Tatrach"], "nie jest wyrazem z 3-15 wielkich liter"),
    (["LIS"], "potrzeba jednego lub dwóch objaśnień, jest 0"),
    (["LIS\tjeden\tdwa razy\ttrzy razy"], "potrzeba jednego lub dwóch objaśnień, jest 3"),
    (["LIS\trudy  drapieżnik"], "zbędne spacje"),
    (["LIS\trudy drapieżnik\t"], "puste objaśnienie"),
    (["LIS\trudy drapieżnik ☺"], "znak spoza Windows-1250"),
    (["LIS\trudy drapieżnik", "LIS\tzwierzę z kitą"], "występuje już w wierszu 1"),
    (["OSA\tto"], "objaśnienie krótsze niż 3 litery"),
    (["KARP\tkarpik wigilijny"], "dzieli rdzeń z hasłem: 'karpik'"),
    (["LIS\tlisek chytrusek"], "dzieli rdzeń z hasłem: 'lisek'"),
    (["UKARAĆ\tkarać"], "dzieli rdzeń z hasłem: 'karać'"),
    (["DOPÓKI\tpóki"], "dzieli rdzeń z hasłem: 'póki'"),
    (["ARCHANIOŁ\tanioł najwyższy"], "dzieli rdzeń z hasłem: 'anioł'"),
    (["SŁONECZNIK\tkwiat zwrócony do słońca"], "dzieli rdzeń z hasłem: 'słońca'"),
    (["KONIK\tmały koń"], "dzieli rdzeń z hasłem: 'koń'"),
    (["KOT\tmruczek", "PIES\tmruczek", "LIS\tmruczek"], "służy 3 hasłom"),
    (["KOT\tmruczek", "PIES\tmruczek"], None),
    (["MOCZ\tsiki"], "niestosowny wyraz 'siki'"),
    (["ZIELE\tcannabis, gandzia"], "niestosowny wyraz 'gandzia'"),
    (["IWAN\tRosjanin"], "hasło IWAN zaczyna się od niestosownego 'iwan'"),
    (["ĆPUN\tnałogowiec"], "hasło ĆPUN zaczyna się od niestosownego 'ćpun'"),
    (["SZCZUR\tgryzoń z długim ogonem"], None),
]
# hunspell takes seconds to load its dictionary, so only these lists are spelt.
SPELLING_CASES = [
    (["WISŁA\tpłynie przez Kraków i Warszawę"], None),
    (["LIS\trudy drapierznik"], "wyraz nieznany słownikowi pl_PL: 'drapierznik'"),
    (["LISS\trudy drapieżnik", "WISŁOKA\tpłynie przez Jasło"], "wyraz nieznany słownikowi pl_PL: 'liss'"),
]


class ReviewRules(unittest.TestCase):
    def test_each_rule_finds_its_fault(self):
        for lines, expected, spelling in [c + (False,) for c in CASES] + [c + (True,) for c in SPELLING_CASES]:
            with self.subTest(lines=lines), tempfile.TemporaryDirectory() as tmp:
                path = os.path.join(tmp, "lista.tsv")
                with open(path, "w", encoding="utf-8") as f:
                    f.write("\n".join(lines) + "\n")
                _, faults = CHECK(path, spelling)
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in fault for fault in faults), faults)


if __name__ == "__main__":
    unittest.main()
