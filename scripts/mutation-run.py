#!/usr/bin/env python3
"""Mutation run over the reading, writing and saving code: each mutant is one
small change a slip could make; the tests that guard that code must fail on it.

    scripts/mutation-run.py [BUILD_DIR [NAME...]]   (default: build, every mutant)

Each mutant is applied to the source, its test program rebuilt and run, and the
source put back. A mutant is killed when its tests fail, survived when they
pass; one that does not compile counts as neither (a broken mutant, not a test
that caught it). NAMEs pick the mutants whose names contain one of them.
Prints one line per mutant and the totals."""
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
BUILD = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()

DOCS = ("documents_tests", "tests/documents/documents_tests")
CLI = ("cli_tests", "tests/cli/cli_tests")
DB = ("database_tests", "tests/database/database_tests")
WORDBASE = ("wordbase_tests", "tests/database/wordbase_tests")
CORE = ("core_tests", "tests/core/core_tests")
FILL = ("composer_tests", "tests/composer/composer_tests")
FUZZ = ("reader_fuzz_tests", "tests/fuzz/reader_fuzz_tests")

# (name, file, text, mutated text, test program, gtest filter)
MUTANTS = [
    ("ipuz width limit one more", "src/documents/Ipuz.cpp",
     "constexpr int32_t MaxIpuzWidth = MaxGridCols;", "constexpr int32_t MaxIpuzWidth = MaxGridCols + 1;", DOCS, "Ipuz.*"),
    ("ipuz cells outside the grid", "src/documents/Ipuz.cpp",
     "cell.Col <= Width && cell.Row <= Height;", "cell.Col <= Width + 1 && cell.Row <= Height;", DOCS, "Ipuz.*"),
    ("ipuz clue not cut", "src/documents/Ipuz.cpp",
     "Utf8ToCp1250(WithoutMarkup(text->String())).substr(0, size_t(MaxRecordData))",
     "Utf8ToCp1250(WithoutMarkup(text->String())).substr(0, size_t(MaxRecordData) + 1)", DOCS, "Ipuz.*"),
    ("closing blocks of a lone letter unchecked", "src/composer/Kwelin.cpp",
     "    if (repeats && !FSettings.AllowRepeats)\n        return false;\n    FTable = after;",
     "    FTable = after;", FILL, "CloseSingleLetter.*"),
    ("change-file records not judged", "src/database/WordBase.cpp",
     "check.AddRecord(other.Kind, other.Text, fileName);", "static_cast<void>(other);", WORDBASE, "WordBaseFiles.*"),
    ("no fsync before the rename", "src/documents/FileReplacement.cpp",
     "if (::fsync(LockHandle) != 0)", "if (false)", CLI, "Cli.SavesSync*"),
    ("save error without its reason", "src/documents/FailureReason.cpp",
     "throw ESystemFailure(message, reason);", "throw EInOutError(message);", CLI, "Cli.FailedOpensAndSavesSayWhy"),
    ("ipuz sound names unchecked", "src/documents/Ipuz.cpp",
     "name.size() <= size_t(MaxRecordData) && IsPlainSoundName(name)", "name.size() <= size_t(MaxRecordData)", DOCS, "Ipuz.*"),
    ("record of 2040 bytes read", "src/documents/DataAccess.cpp",
     "if (length < 0 || length > MaxRecordData)", "if (length < 0 || length > MaxRecordData + 1)", DOCS, "DataAccess*"),
    ("explanations beyond the grid's", "src/documents/CrossFile.cpp",
     "static_cast<int64_t>(Expls.size()) >= MaxExplsOf(FColCount, FRowCount)",
     "static_cast<int64_t>(Expls.size()) > MaxExplsOf(FColCount, FRowCount)", DOCS, "CrossFile.*"),
    ("stop list unbounded", "src/database/StopList.cpp",
     "while (lines.Next(line)) {", "while (std::getline(in, line)) {", DB, "DBBuilderFiles.*"),
    ("escapes printed raw", "src/core/Cp1250.cpp",
     "AppendUtf8(out, b < 0x20 ? 0x2400 + b : b == 0x7F ? 0x2421 : b);", "AppendUtf8(out, b);", CORE, "Cp1250Codec.*"),
    ("export-ipuz onto its input", "src/cli/CmdExportIpuz.cpp",
     "    mz::cli::RefuseSameFiles({args[0]}, {args[1]});\n", "", CLI, "Cli.AnOutputThatIsAnInput*"),
    ("ipuz height limit one less", "src/documents/Ipuz.cpp",
     "constexpr int32_t MaxIpuzHeight = MaxGridRows;", "constexpr int32_t MaxIpuzHeight = MaxGridRows - 1;", DOCS, "Ipuz.*"),
    ("ipuz more clues than cells", "src/documents/Ipuz.cpp",
     "static_cast<int64_t>(Clues.size()) >= MaxExplsOf(Width, Height)",
     "static_cast<int64_t>(Clues.size()) > MaxExplsOf(Width, Height)", DOCS, "Ipuz.*"),
    ("ipuz export of a clue on a block", "src/documents/Ipuz.cpp",
     "if (!doc.HasCell(expl.Col, expl.Row) || doc.GetCell(expl.Col, expl.Row) == '*')",
     "if (!doc.HasCell(expl.Col, expl.Row))", DOCS, "Ipuz.*"),
    ("ipuz export of a too small grid", "src/documents/Ipuz.cpp",
     "if (cols < MinIpuzWidth || rows < MinIpuzHeight || cols > MaxIpuzWidth || rows > MaxIpuzHeight)",
     "if (cols > MaxIpuzWidth || rows > MaxIpuzHeight)", DOCS, "Ipuz.*"),
    ("open error without its reason", "src/documents/CrossFile.cpp",
     "throw EFailureWithReason(FormatMessage(MsgOpenError, name), ReasonOf(e));",
     "throw EFailureWithReason(FormatMessage(MsgOpenError, name), \"\");", DOCS, "CrossFile.*"),
    ("a FIFO opened for reading", "src/documents/FailureReason.cpp",
     "if (!std::filesystem::is_regular_file(status))", "if (std::filesystem::is_directory(status))", CLI,
     "Cli.FailedOpensAndSavesSayWhy"),
    ("no fsync of the folder", "src/documents/FileReplacement.cpp",
     "    SyncFolder(fs::path(FTarget).parent_path());\n", "    static_cast<void>(&SyncFolder);\n", CLI, "Cli.SavesSync*"),
    ("a link loop replaced by a file", "src/documents/FileReplacement.cpp",
     "if (fs::is_symlink(fs::symlink_status(target, ec)))", "if (false)", CLI, "Cli.Slips*"),
    ("temporary files not registered", "src/documents/FileReplacement.cpp",
     "            slot.Used.store(true);\n", "", DOCS, "FileReplacement.*"),
    ("NUL byte let through", "src/core/TextLines.cpp",
     "if (line.size() != stored)", "if (line.size() != stored && false)", DB, "DBBuilderFiles.*"),
    ("read error taken for the end", "src/core/TextLines.cpp",
     "    if (In.bad())\n        throw", "    if (false)\n        throw", DB, "DBBuilderFiles.*"),
    ("C1 controls printed raw", "src/core/Cp1250.cpp",
     "const bool control = whole && b == 0xC2", "const bool control = false && b == 0xC2", CORE, "Cp1250Codec.*"),
    ("prefix leaving --out-dir", "src/cli/CmdCompose.cpp",
     'if (o.Prefix.find_first_of("/\\\\") != std::string::npos', 'if (o.Prefix.find_first_of("\\\\") != std::string::npos',
     CLI, "Cli.Slips*"),
    ("negative edition", "src/cli/CmdDbBuild.cpp", "if (edition < 0 ||", "if (edition < INT32_MIN ||", CLI, "Cli.Slips*"),
    ("missing audio folder", "src/cli/CmdDbBuild.cpp",
     "if (!std::filesystem::is_directory(mz::Utf8Path(audioDir), ec))", "if (false)", CLI, "Cli.Slips*"),
    ("sounds of the lists not counted", "src/cli/CmdDbBuild.cpp",
     "sounds += !word.Audio.empty();", "sounds += 0;", CLI, "Cli.Slips*"),
    ("no word on an interrupt", "src/cli/main.cpp",
     "static_cast<void>(::write(STDERR_FILENO, message, sizeof message - 1));", "static_cast<void>(message);", CLI,
     "Cli.AnInterrupted*"),
    ("a run without a bound of steps", "src/composer/Composer.cpp",
     "|| (Settings.MaxTotalSteps != 0 && result.TotalSteps >= Settings.MaxTotalSteps)", "", FILL,
     "ComposeRunEnd.ARunWithoutATimeLimit*"),
]


def run(args, **kw):
    return subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw).returncode


def main():
    killed = survived = broken = 0
    picked = sys.argv[2:]
    for name, file, text, mutated, (target, program), tests in MUTANTS:
        if picked and not any(p in name for p in picked):
            continue
        path = ROOT / file
        original = path.read_text()
        if original.count(text) != 1:
            print(f"?  {name}: the text to mutate is not found once in {file}")
            continue
        built = False
        try:
            path.write_text(original.replace(text, mutated))
            built = run(["cmake", "--build", str(BUILD), "--target", target]) == 0
            passed = built and run([str(BUILD / program), f"--gtest_filter={tests}"], cwd=BUILD, timeout=900) == 0
        except subprocess.TimeoutExpired:
            passed = False
        finally:
            path.write_text(original)
        if not built:
            broken += 1
        elif passed:
            survived += 1
        else:
            killed += 1
        print(("does not build " if not built else "SURVIVED " if passed else "killed   ") + name, flush=True)
    targets = sorted({m[4][0] for m in MUTANTS})
    run(["cmake", "--build", str(BUILD), "--target", *targets])
    print(f"mutants {killed + survived + broken}, killed {killed}, survived {survived}, not built {broken}")
    return 1 if survived or broken else 0


if __name__ == "__main__":
    sys.exit(main())
