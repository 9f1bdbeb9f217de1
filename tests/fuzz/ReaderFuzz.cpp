#include "ReaderFuzz.h"

#include "../documents/TestFiles.h"

#include "core/Cp1250.h"
#include "database/ComposeWords.h"
#include "database/DB.h"
#include "database/DBBuilder.h"
#include "database/WordBase.h"
#include "documents/CrossTXT.h"
#include "documents/Ipuz.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <random>
#include <thread>

namespace mz::test {

namespace {

namespace fs = std::filesystem;

// How a reading child ends.
enum TChildEnd : int {
    ceLoaded = 10,
    ceRefused = 11,
    ceOtherError = 13, // an exception the reader does not document
    ceComposingStopped = 14,
    ceNotReadBack = 15, // opened, but what the program writes of it does not open again
};

TCrossTXT SeedCrossword()
{
    TCrossTXT doc = Grid(9, 7, "KOT*ALE  A*S*OKO ZUPA*R*");
    for (int i = 1; i <= 20; ++i)
        if (doc.GetCell(1 + i % 9, 1 + i % 7) != '*')
            doc.AddExpl({1 + i % 9, 1 + i % 7, Utf8ToCp1250("Objaśnienie żółwia nr " + std::to_string(i)),
                         i % 3 ? "" : "kot" + std::to_string(i) + ".wav", i % 2 == 0, i % 4 ? "" : "KOT"});
    doc.SetPhrase({"KOS", {{1, 1}, {2, 1}, {1, 2}}});
    return doc;
}

std::string XwdSeed()
{
    // 5 x 5 with two blocks, letters, eight clues (the layout of the XWD reader).
    std::string bytes(3176 + 61 * 10, '\0');
    bytes[0] = 5;
    bytes[1] = 'x';
    bytes[2 + 23 * 1 + 1] = static_cast<char>(219);
    bytes[2 + 23 * 3 + 3] = static_cast<char>(219);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r)
            bytes[531 + 23 * c + r] = static_cast<char>('A' + (c * 5 + r) % 26);
    for (int n = 0; n < 10; ++n) {
        const std::string clue = "Hasło " + std::to_string(n + 1);
        bytes[3176 + 61 * n] = static_cast<char>(clue.size());
        bytes.replace(3176 + 61 * n + 1, clue.size(), clue);
    }
    return bytes;
}

std::vector<TDBWord> SeedWords()
{
    return {{"KOT", {"mruczek", Utf8ToCp1250("łowca myszy")}, "KOT.wav", 57},
            {"LAS", {"wiele drzew"}, "", -1},
            {Utf8ToCp1250("ŻABA"), {Utf8ToCp1250("płaz")}, "", 12},
            {"PIES", {"szczeka", "burek"}, "", -1},
            {"OKO", {"narząd wzroku"}, "OKO.ogg", 90}};
}

// The seed of each reader, written into `dir` once.
struct TSeeds {
    std::string Krz, Xwd, Ipuz, Hk, Changes, Tsv, Shipped;
};

TSeeds MakeSeeds(const std::string& dir)
{
    TSeeds seeds;
    TCrossTXT doc = SeedCrossword();
    doc.SaveToFile(dir + "/seed.krz");
    seeds.Krz = ReadBytes(dir + "/seed.krz");
    seeds.Xwd = XwdSeed();
    seeds.Ipuz = IpuzText(doc);
    seeds.Shipped = dir + "/baza.hk";
    WriteDBFile(seeds.Shipped, 102, SeedWords());
    seeds.Hk = ReadBytes(seeds.Shipped);
    TWordBase base;
    base.Load(seeds.Shipped, dir + "/seed-zmiany.hk");
    TBaseWord kot = *base.Find("KOT");
    kot.Explanations.push_back("drapieżnik");
    kot.UserEdited = true;
    TWordChange edit{*base.Find("KOT"), kot, 0};
    TWordChange added{std::nullopt, TBaseWord{"SOWA", {"nocny ptak"}, "SOWA.wav\r\n", false, true, {}}, 0};
    TWordChange removed{*base.Find("LAS"), std::nullopt, 0};
    for (TWordChange* change : {&edit, &added, &removed})
        base.Apply(*change);
    base.Save();
    seeds.Changes = ReadBytes(dir + "/seed-zmiany.hk");
    seeds.Tsv = "# hasło\tobjaśnienie\n"
                "kot\tmruczek\tłowca myszy\t@kot.wav\n"
                "żaba\tpłaz\n"
                "las\twiele drzew\n"
                "pies\tszczeka\tburek\n";
    return seeds;
}

// Byte-level damage of every kind a disk, a download or a hand can do.
std::string Mutate(std::string bytes, std::mt19937& rng)
{
    static const char interesting[] = {'\0', '\xFF', '\x7F', '\x80', '\n', '"', '{', '[', ':', ',', '\x1B', '9', '-'};
    static const char* numbers[] = {"0", "-1", "256", "2147483648", "99999999999999999999", "1e308", "4", "3"};
    const int changes = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < changes && !bytes.empty(); ++i) {
        const size_t at = rng() % bytes.size();
        const size_t length = 1 + rng() % std::min<size_t>(bytes.size() - at, 64);
        switch (rng() % 7) {
        case 0:
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << (rng() % 8)));
            break;
        case 1:
            bytes[at] = interesting[rng() % sizeof interesting];
            break;
        case 2:
            bytes.resize(at);
            break;
        case 3:
            bytes.erase(at, length);
            break;
        case 4:
            bytes.insert(rng() % bytes.size(), bytes.substr(at, length));
            break;
        case 5:
            for (size_t k = 0; k < length % 16; ++k)
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<char>(rng()));
            break;
        default: {
            // A number of a text format made extreme.
            size_t digit = bytes.find_first_of("0123456789", at);
            if (digit == std::string::npos)
                break;
            const size_t end = bytes.find_first_not_of("0123456789", digit);
            bytes.replace(digit, (end == std::string::npos ? bytes.size() : end) - digit, numbers[rng() % 8]);
            break;
        }
        }
    }
    return bytes;
}

// Record files mostly keep a valid checksum, so the damage reaches the records.
std::string MutateRecordFile(const std::string& good, std::mt19937& rng)
{
    if (rng() % 10 == 0)
        return Mutate(good, rng);
    return BuildRecordBytes(good.substr(0, 64), Mutate(PlainStreamOf(good), rng));
}

// Reads the file as the program does; returns how the child ends.
int ReadInChild(const std::string& reader, const std::string& name, const TSeeds& seeds, const std::string& dir)
{
    try {
        if (reader == "krz" || reader == "xwd" || reader == "ipuz") {
            TCrossTXT doc;
            try {
                doc.LoadFromFile(name);
            } catch (const EIOOperation&) {
                return ceRefused;
            }
            // What opened can be saved and opened again, in both formats.
            try {
                doc.SaveToFile(dir + "/wstecz.krz");
                TCrossTXT back;
                back.LoadFromFile(dir + "/wstecz.krz");
                if (IpuzProblem(doc).empty()) {
                    ExportAsIpuz(doc, dir + "/wstecz.ipuz");
                    back.LoadFromFile(dir + "/wstecz.ipuz");
                }
            } catch (const EIOOperation&) {
                return ceNotReadBack;
            }
            return ceLoaded;
        }
        if (reader == "hk") {
            TDB db;
            try {
                db.Load(name);
            } catch (const EDBInvalidOperation&) {
                return ceRefused;
            }
            return ceLoaded;
        }
        if (reader == "zmiany") {
            TWordBase base;
            base.Load(seeds.Shipped, name);
            // Whatever the editor made of the change file, composing loads its words.
            try {
                const auto words = TComposeWords::Read(seeds.Shipped, name);
                words->NewDB({2, 255});
            } catch (const std::exception&) {
                return ceComposingStopped;
            }
            return base.UserFileProblem().empty() ? ceLoaded : ceRefused;
        }
        std::ifstream in(name, std::ios::binary);
        TDBBuilder builder;
        std::vector<std::string> warnings;
        try {
            builder.AddTsv(in, name, warnings);
        } catch (const EDBInvalidOperation&) {
            return ceRefused;
        }
        return builder.Result().empty() ? ceRefused : ceLoaded;
    } catch (...) {
        return ceOtherError;
    }
}

} // namespace

const std::vector<std::string>& FuzzReaders()
{
    static const std::vector<std::string> readers = {"krz", "xwd", "ipuz", "hk", "zmiany", "tsv"};
    return readers;
}

TFuzzReport FuzzReader(const std::string& reader, int files, uint32_t seed, const std::string& dir, int timeoutMs)
{
    fs::create_directories(dir);
    const TSeeds seeds = MakeSeeds(dir);
    std::mt19937 rng(seed);
    TFuzzReport report;
    report.Reader = reader;
    const std::string extension = reader == "zmiany" || reader == "hk" ? "hk" : reader;
    for (int i = 0; i < files; ++i) {
        std::string bytes;
        if (reader == "krz")
            bytes = MutateRecordFile(seeds.Krz, rng);
        else if (reader == "hk")
            bytes = MutateRecordFile(seeds.Hk, rng);
        else if (reader == "zmiany")
            bytes = MutateRecordFile(seeds.Changes, rng);
        else
            bytes = Mutate(reader == "xwd" ? seeds.Xwd : reader == "ipuz" ? seeds.Ipuz : seeds.Tsv, rng);
        const std::string name = dir + "/" + reader + "-" + std::to_string(i) + "." + extension;
        WriteBytes(name, bytes);
        ++report.Files;

        const pid_t child = ::fork();
        if (child == 0)
            std::_Exit(ReadInChild(reader, name, seeds, dir));
        int status = 0;
        struct rusage usage { };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        pid_t done = 0;
        while ((done = ::wait4(child, &status, WNOHANG, &usage)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        bool failed = false;
        if (done == 0) {
            ::kill(child, SIGKILL);
            ::wait4(child, &status, 0, &usage);
            ++report.Hangs;
            failed = true;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == ceLoaded) {
            ++report.Loaded;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == ceRefused) {
            ++report.Refused;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == ceComposingStopped) {
            ++report.Stopped;
            failed = true;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == ceNotReadBack) {
            ++report.NotReadBack;
            failed = true;
        } else {
            ++report.Crashes;
            failed = true;
        }
        report.PeakKb = std::max(report.PeakKb, usage.ru_maxrss);
        if (failed)
            report.Failures.push_back(name);
        else
            fs::remove(name);
    }
    return report;
}

} // namespace mz::test
