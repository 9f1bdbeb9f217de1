// The crossword a seed gives with the shipped templates and database is fixed:
// a change that only makes composing faster must leave every one of them as it
// is. The table holds a hash of each crossword (letters, numbered clues and
// sounds, steps and restarts) as composed before the search was made faster,
// pinned again when the shipped database changed (words fit for a school).
// MZ_PRINT_CROSSWORD_HASHES=1 prints the table anew instead of checking it.
#include "composer/Composer.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

using namespace mz;

namespace {

const std::string AppDir = MZ_APP_DIR;

struct TComposed {
    const char* Template;
    uint32_t Seed;
    uint64_t Hash;
};

// clang-format off
const TComposed Composed[] = {
    {"Duży.sz", 1, 0xec21d65edf8d52faull},
    {"Duży.sz", 2, 0xb4271c671f1441a5ull},
    {"Duży.sz", 3, 0x96c5250681d1b6c7ull},
    {"Duży.sz", 4, 0xe7cab6ade8827403ull},
    {"Duży.sz", 5, 0x449ff391f5490c5dull},
    {"Duży.sz", 6, 0x7e34504595b3e128ull},
    {"Duży.sz", 7, 0x0a458aa0fe89aa09ull},
    {"Duży.sz", 8, 0x6be18cec6d1abf28ull},
    {"Duży.sz", 9, 0x3b24f5401a111218ull},
    {"Duży.sz", 10, 0x2355e1b115e49f38ull},
    {"Duży.sz", 11, 0x626b1b691b25bd1aull},
    {"Duży.sz", 12, 0x07d1055a1e93e868ull},
    {"Duży.sz", 13, 0x07d74d8ac7c9c557ull},
    {"Duży.sz", 14, 0xc83c9e7a72f9d433ull},
    {"Duży.sz", 15, 0x7d8264d5ced770afull},
    {"Duży.sz", 16, 0xf21621e243280bbeull},
    {"Duży.sz", 17, 0xefa53a58d23b66bbull},
    {"Duży.sz", 18, 0x3f3bf09954846befull},
    {"Duży.sz", 19, 0xd8563146d0df19a0ull},
    {"Duży.sz", 20, 0x7ec693cdc778d2edull},
    {"Duży.sz", 21, 0x9b953acade91d43dull},
    {"Duży.sz", 22, 0xe28272a6c63206b9ull},
    {"Duży.sz", 23, 0x1584c54154136e47ull},
    {"Duży.sz", 24, 0xde4803cb8efd69f4ull},
    {"Duży.sz", 25, 0x852a9cacc215cc03ull},
    {"Duży.sz", 26, 0x15236aba176a6024ull},
    {"Duży.sz", 27, 0x893d276cafdbb561ull},
    {"Duży.sz", 28, 0xa701541a40457102ull},
    {"Duży.sz", 29, 0xd2aa28feff7584d6ull},
    {"Duży.sz", 30, 0xcd5a7737c7903009ull},
    {"Duży.sz", 31, 0xb913322a112c9e52ull},
    {"Duży.sz", 32, 0xc483c07c68a14b6cull},
    {"Duży.sz", 33, 0x08d8dfec4a1a657bull},
    {"Duży.sz", 34, 0x32154155bdccc8e2ull},
    {"Duży.sz", 35, 0x8ab7997d700a5dcfull},
    {"Duży.sz", 36, 0x844ad8effabd4c95ull},
    {"Duży.sz", 37, 0xac488a63a3a9ff14ull},
    {"Duży.sz", 38, 0x9ceda12a35da3abeull},
    {"Duży.sz", 39, 0x28181147df31a893ull},
    {"Duży.sz", 40, 0x87b96917fd9f1643ull},
    {"Duży.sz", 41, 0x994c8960e8b22d84ull},
    {"Duży.sz", 42, 0x8003b1056ff3119dull},
    {"Duży.sz", 43, 0x4dad3f322f3452bbull},
    {"Duży.sz", 44, 0x6d541ee542873fe6ull},
    {"Duży.sz", 45, 0x1b0ee2dcaab16151ull},
    {"Duży.sz", 46, 0x19355b1a60cd2766ull},
    {"Duży.sz", 47, 0x1aa9add35d59616cull},
    {"Duży.sz", 48, 0x909ec08c3474e590ull},
    {"Duży.sz", 49, 0xde7afcf6d3920d63ull},
    {"Duży.sz", 50, 0x652b5363f48515d1ull},
    {"Mały.sz", 1, 0x02845a3b5cdbb820ull},
    {"Mały.sz", 2, 0xac4ea51599a711e1ull},
    {"Mały.sz", 3, 0x74d569c12d83b043ull},
    {"Mały.sz", 4, 0xd86af8df5c8be322ull},
    {"Mały.sz", 5, 0x57bb0a008d20f59eull},
    {"Mały.sz", 6, 0xbccb9f379ea7853cull},
    {"Mały.sz", 7, 0x080476d24f0a32c5ull},
    {"Mały.sz", 8, 0x0d303e462b876e68ull},
    {"Mały.sz", 9, 0xd0dd63e98258f643ull},
    {"Mały.sz", 10, 0xa84bc9bcbc68a1dcull},
    {"Mały.sz", 11, 0xf200a55d46d466c7ull},
    {"Mały.sz", 12, 0xde91d588ef2e919bull},
    {"Mały.sz", 13, 0x1d1a3f65f3fd5942ull},
    {"Mały.sz", 14, 0x4540dc68652d8c74ull},
    {"Mały.sz", 15, 0xd3dfca847671308cull},
    {"Mały.sz", 16, 0x8bb2b56087211bf0ull},
    {"Mały.sz", 17, 0x4cbe6985bbc2104cull},
    {"Mały.sz", 18, 0x9cbe6d3ed59adbedull},
    {"Mały.sz", 19, 0x080a4430aa2c049aull},
    {"Mały.sz", 20, 0x7bdb39aa7a1e234aull},
    {"Mały.sz", 21, 0x7e45ae16a428e7a8ull},
    {"Mały.sz", 22, 0x3d426ae4f9436957ull},
    {"Mały.sz", 23, 0x562e4a7c273b9808ull},
    {"Mały.sz", 24, 0x8f4ef2e863fcabcdull},
    {"Mały.sz", 25, 0x59a8b08fe50fa9f7ull},
    {"Mały.sz", 26, 0x54e74fb605935c3aull},
    {"Mały.sz", 27, 0x4504622c3e7038a7ull},
    {"Mały.sz", 28, 0x72bdeed9dfb3729aull},
    {"Mały.sz", 29, 0x7e45c71f51a8b6b6ull},
    {"Mały.sz", 30, 0x4520509a1e13d3b8ull},
    {"Mały.sz", 31, 0x83aa5b96ad559ff8ull},
    {"Mały.sz", 32, 0xca2eccda7fcdeb0full},
    {"Mały.sz", 33, 0x99b4a46b3331d7c7ull},
    {"Mały.sz", 34, 0x7f03b65fc5c98081ull},
    {"Mały.sz", 35, 0xaeb29bfd15dc3282ull},
    {"Mały.sz", 36, 0x85d6b00d01182367ull},
    {"Mały.sz", 37, 0xbd19b9b8b2142499ull},
    {"Mały.sz", 38, 0x7e896b2a2b3e0e4bull},
    {"Mały.sz", 39, 0x75475ed060a9499aull},
    {"Mały.sz", 40, 0x7d512c975c9df743ull},
    {"Mały.sz", 41, 0x012c4c3d94f8a12full},
    {"Mały.sz", 42, 0xd2cee57723ddc420ull},
    {"Mały.sz", 43, 0x5dee4f34e0e8b873ull},
    {"Mały.sz", 44, 0x011f296242d87d06ull},
    {"Mały.sz", 45, 0x28510a05e4ee6416ull},
    {"Mały.sz", 46, 0x37d655f6b1a2d7e8ull},
    {"Mały.sz", 47, 0xddc4302711a1692dull},
    {"Mały.sz", 48, 0xeda2b109351e2396ull},
    {"Mały.sz", 49, 0xd74c70302c7ca0b0ull},
    {"Mały.sz", 50, 0xedc46b70f8dd6ea8ull},
    {"Normal.sz", 1, 0x7b1e8ee0ceea3304ull},
    {"Normal.sz", 2, 0x7d6ba2c8ffa82fbcull},
    {"Normal.sz", 3, 0xa622a258af7fd9a3ull},
    {"Normal.sz", 4, 0xb1280aafdea5d65full},
    {"Normal.sz", 5, 0x5938f01b4b25c440ull},
    {"Normal.sz", 6, 0x4f23a2ebb64fd18cull},
    {"Normal.sz", 7, 0x86f15caba9389eedull},
    {"Normal.sz", 8, 0x6ac2fa5bc5580afaull},
    {"Normal.sz", 9, 0x213cb7b2e7d88933ull},
    {"Normal.sz", 10, 0x78db7264d6869399ull},
    {"Normal.sz", 11, 0xe4ecf2ea0dc5dfbcull},
    {"Normal.sz", 12, 0xbec88d6196640eaeull},
    {"Normal.sz", 13, 0xdfd683ac4f005504ull},
    {"Normal.sz", 14, 0x42210ac0e8e8c5f9ull},
    {"Normal.sz", 15, 0x6821e56ee1168a7bull},
    {"Normal.sz", 16, 0x5286fec91aaa0921ull},
    {"Normal.sz", 17, 0xacbe14316e39aa9cull},
    {"Normal.sz", 18, 0xcb290642877783b4ull},
    {"Normal.sz", 19, 0x53e400181b3fef63ull},
    {"Normal.sz", 20, 0x05c128d8d6456617ull},
    {"Normal.sz", 21, 0xfe86818213bc6249ull},
    {"Normal.sz", 22, 0xf5d4bd63ef354540ull},
    {"Normal.sz", 23, 0x693b3c815b823336ull},
    {"Normal.sz", 24, 0xa0f2c8b693ff7ba6ull},
    {"Normal.sz", 25, 0x64ba9021162e8814ull},
    {"Normal.sz", 26, 0x4442729d19f85e74ull},
    {"Normal.sz", 27, 0xe9de7cf95713ded9ull},
    {"Normal.sz", 28, 0xc85feecb912f1ffaull},
    {"Normal.sz", 29, 0x300882bdd738930bull},
    {"Normal.sz", 30, 0x74617f6f9ef0a21bull},
    {"Normal.sz", 31, 0x29e9dae813b02dc7ull},
    {"Normal.sz", 32, 0xbf8119f5093e9827ull},
    {"Normal.sz", 33, 0x737faeafaf0b9c0full},
    {"Normal.sz", 34, 0x325b8f3450cb85f2ull},
    {"Normal.sz", 35, 0xb21bf19b126d646full},
    {"Normal.sz", 36, 0x4a6fc3924211f3b9ull},
    {"Normal.sz", 37, 0x6deb922bc255f647ull},
    {"Normal.sz", 38, 0x26d4600c358316d6ull},
    {"Normal.sz", 39, 0x94961efd72f37d2bull},
    {"Normal.sz", 40, 0xd8ce4614c7f194d2ull},
    {"Normal.sz", 41, 0xd6aa3146ce350949ull},
    {"Normal.sz", 42, 0xd5619abae4ec7d79ull},
    {"Normal.sz", 43, 0xa86c8580ca5f0d0eull},
    {"Normal.sz", 44, 0x0adf9f8f6a5e8b6dull},
    {"Normal.sz", 45, 0x72d079db8f7f3074ull},
    {"Normal.sz", 46, 0x43281e05e5ccc08aull},
    {"Normal.sz", 47, 0xdfc64513b00dee5full},
    {"Normal.sz", 48, 0x165962264c884b6cull},
    {"Normal.sz", 49, 0xfec0d562de728e5bull},
    {"Normal.sz", 50, 0x7bc57dbbddb43112ull},
    {"Z blokami.sz", 1, 0x5906ababf0aee44dull},
    {"Z blokami.sz", 2, 0x1772cff2490dc97full},
    {"Z blokami.sz", 3, 0x70f9b536033a6fadull},
    {"Z blokami.sz", 4, 0x605872a5b8a111f5ull},
    {"Z blokami.sz", 5, 0x42486fb7721ddd2full},
    {"Z blokami.sz", 6, 0x6ac4c1d34df95cf3ull},
    {"Z blokami.sz", 7, 0x6c24a9c6f7c8d1abull},
    {"Z blokami.sz", 8, 0xb011d75d66a0943full},
    {"Z blokami.sz", 9, 0x44793685927ed2feull},
    {"Z blokami.sz", 10, 0x69f3be161579e7b9ull},
    {"Z blokami.sz", 11, 0xf773ac5ad66bd71aull},
    {"Z blokami.sz", 12, 0x4a21bede9d1f23a3ull},
    {"Z blokami.sz", 13, 0xf559ad39e8394274ull},
    {"Z blokami.sz", 14, 0x24be36a0c29afb51ull},
    {"Z blokami.sz", 15, 0xd9484c9735c2563full},
    {"Z blokami.sz", 16, 0x96a5b069638d338full},
    {"Z blokami.sz", 17, 0xaac7f6be00b25208ull},
    {"Z blokami.sz", 18, 0x4860546967e48d39ull},
    {"Z blokami.sz", 19, 0x1656e6900212541cull},
    {"Z blokami.sz", 20, 0x80abb43772b5a7deull},
    {"Z blokami.sz", 21, 0x72ebdfca29dcc5e6ull},
    {"Z blokami.sz", 22, 0x45dc208723a48030ull},
    {"Z blokami.sz", 23, 0xe1b303fb25b21aa5ull},
    {"Z blokami.sz", 24, 0xb4cd7c5d19d16a01ull},
    {"Z blokami.sz", 25, 0xb66e8fcc4aecb66eull},
    {"Z blokami.sz", 26, 0x9411143163e8c62full},
    {"Z blokami.sz", 27, 0x494b2db93a0eca09ull},
    {"Z blokami.sz", 28, 0x731d3b8c651f7797ull},
    {"Z blokami.sz", 29, 0x57fbd45b71318281ull},
    {"Z blokami.sz", 30, 0x88c26ff7bd7c9175ull},
    {"Z blokami.sz", 31, 0xd7a29ce0c10f1629ull},
    {"Z blokami.sz", 32, 0x9c854470c81219acull},
    {"Z blokami.sz", 33, 0x1044f8d098e2384full},
    {"Z blokami.sz", 34, 0x6b2cad5a920a4c70ull},
    {"Z blokami.sz", 35, 0x7232533fcd6d2232ull},
    {"Z blokami.sz", 36, 0xa32b7e1ef02a3b17ull},
    {"Z blokami.sz", 37, 0x408405b1680740e4ull},
    {"Z blokami.sz", 38, 0x4c18ff69e9bc921full},
    {"Z blokami.sz", 39, 0x987f628c4204f6eeull},
    {"Z blokami.sz", 40, 0x6d43e0029aa3f618ull},
    {"Z blokami.sz", 41, 0x823675280f3fd670ull},
    {"Z blokami.sz", 42, 0x6d174092fe49ba29ull},
    {"Z blokami.sz", 43, 0xfb1a9c115306179aull},
    {"Z blokami.sz", 44, 0xc946d799f388d7ffull},
    {"Z blokami.sz", 45, 0x8434b17c2dbdd9f7ull},
    {"Z blokami.sz", 46, 0x58ab9ebc54249e2cull},
    {"Z blokami.sz", 47, 0xac1d53025f4a98c8ull},
    {"Z blokami.sz", 48, 0x568bde8e95852093ull},
    {"Z blokami.sz", 49, 0x75d96e26d5b65f9bull},
    {"Z blokami.sz", 50, 0x48c9f5131350b6aaull},
};
// clang-format on

// FNV-1a over everything a user sees of the crossword and over the work it took.
class THash {
public:
    void Add(std::string_view bytes)
    {
        for (const char c : bytes) {
            Value ^= static_cast<unsigned char>(c);
            Value *= 0x100000001b3ull;
        }
        Add(static_cast<uint64_t>(bytes.size()));
    }
    void Add(uint64_t number)
    {
        for (int i = 0; i < 8; ++i) {
            Value ^= (number >> (8 * i)) & 0xFF;
            Value *= 0x100000001b3ull;
        }
    }
    uint64_t Value = 0xcbf29ce484222325ull;
};

uint64_t CrosswordHash(const TComposeResult& result, const TCrossTXT& doc)
{
    THash hash;
    for (int32_t r = 1; r <= result.Grid->RowCount(); ++r)
        hash.Add(result.Grid->RowLine(r));
    for (const auto& item : doc.ExplsInNumberOrder()) {
        hash.Add(static_cast<uint64_t>(item.Number));
        hash.Add(static_cast<uint64_t>(item.Expl.Col) << 32 | static_cast<uint64_t>(item.Expl.Row) << 1
                 | (item.Expl.Horizontal ? 1 : 0));
        hash.Add(item.Expl.Explanation);
        hash.Add(item.Expl.Audio);
    }
    hash.Add(result.TotalSteps);
    hash.Add(result.Restarts);
    return hash.Value;
}

TEST(ComposedCrosswords, EverySeedGivesTheCrosswordItGaveBefore)
{
    if (!std::filesystem::exists(AppDir + "/baza.hk"))
        GTEST_SKIP() << "no shipped database in " << AppDir;
    const bool print = std::getenv("MZ_PRINT_CROSSWORD_HASHES") != nullptr;
    std::map<std::string, TTable> templates;
    for (const char* name : {"Duży.sz", "Mały.sz", "Normal.sz", "Z blokami.sz"}) {
        TCrossTXT doc;
        doc.LoadFromFile(std::filesystem::u8path(AppDir + "/Szablony/" + name).string());
        templates.emplace(name, TableFromDocument(doc));
    }
    const TComposerSettings settings;
    // The default of the window and of compose: words fit for a school.
    TDBLoadFilter filter{settings.MinLenPWord, settings.MaxLenPWord};
    filter.SchoolSafe = true;
    std::map<std::string, std::unique_ptr<TComposeRun>> runs;
    for (const auto& [name, pattern] : templates)
        runs[name] = std::make_unique<TComposeRun>(pattern, FileDBSource(AppDir + "/baza.hk", filter), settings);
    auto compose = [&](const std::string& name, uint32_t seed) {
        TCrossTXT doc;
        const std::atomic<bool> stop{false};
        std::atomic<uint8_t> progress{0};
        const TComposeResult result = runs.at(name)->Execute(doc, stop, progress, seed);
        EXPECT_TRUE(result.HandedOver) << result.Error;
        return result.Grid ? CrosswordHash(result, doc) : 0;
    };
    if (print) {
        for (const auto& [name, pattern] : templates)
            for (uint32_t seed = 1; seed <= 50; ++seed)
                std::printf("    {\"%s\", %u, 0x%016llxull},\n", name.c_str(), seed,
                            static_cast<unsigned long long>(compose(name, seed)));
        return;
    }
    ASSERT_GE(std::size(Composed), 200u);
    for (const TComposed& c : Composed)
        EXPECT_EQ(compose(c.Template, c.Seed), c.Hash) << c.Template << " seed " << c.Seed;
}

} // namespace
