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
    {"Duży.sz", 1, 0x50f1e8a308af6343ull},
    {"Duży.sz", 2, 0x99505deb10a793ceull},
    {"Duży.sz", 3, 0xc814b5d7ef18169eull},
    {"Duży.sz", 4, 0x37cc3450e6a5fa3cull},
    {"Duży.sz", 5, 0x147ec350a0bf2983ull},
    {"Duży.sz", 6, 0xf7d7a6dd353753f4ull},
    {"Duży.sz", 7, 0xca8fa2d1a00917ecull},
    {"Duży.sz", 8, 0xee83b9ad2c5a40e6ull},
    {"Duży.sz", 9, 0x67fae811c496ac6eull},
    {"Duży.sz", 10, 0xbeb955f38b8c0352ull},
    {"Duży.sz", 11, 0x3c7e3f15c0415654ull},
    {"Duży.sz", 12, 0x6185f98a66a8cb4aull},
    {"Duży.sz", 13, 0xe37c2e42fe788a21ull},
    {"Duży.sz", 14, 0x47a75ed94b3b5744ull},
    {"Duży.sz", 15, 0x841a6dca7e342e03ull},
    {"Duży.sz", 16, 0x0797599a38353af3ull},
    {"Duży.sz", 17, 0x3f55657e3e8f2f24ull},
    {"Duży.sz", 18, 0x84e7df59a6afa9caull},
    {"Duży.sz", 19, 0xdfe6e55e7a68e0a0ull},
    {"Duży.sz", 20, 0xccfff7f234b61528ull},
    {"Duży.sz", 21, 0x5891b75edac52012ull},
    {"Duży.sz", 22, 0x1acf9263c4dab59dull},
    {"Duży.sz", 23, 0x694ce6b2ff86dcadull},
    {"Duży.sz", 24, 0xe5c60a42d108ba97ull},
    {"Duży.sz", 25, 0xb90388fab38f21eeull},
    {"Duży.sz", 26, 0x7ea47471e803eeeeull},
    {"Duży.sz", 27, 0xc2fdd2db587aaeb9ull},
    {"Duży.sz", 28, 0xe62a30db653250feull},
    {"Duży.sz", 29, 0x1324c014717612b9ull},
    {"Duży.sz", 30, 0x556af64256bc17baull},
    {"Duży.sz", 31, 0xc152a680c56a87e6ull},
    {"Duży.sz", 32, 0x572e264af4291b33ull},
    {"Duży.sz", 33, 0xef2e892152cbd2a6ull},
    {"Duży.sz", 34, 0x09dc82a379e0ef3bull},
    {"Duży.sz", 35, 0x3fde7ed21da76620ull},
    {"Duży.sz", 36, 0x2807771ac7f359a0ull},
    {"Duży.sz", 37, 0xebbda892ae6af056ull},
    {"Duży.sz", 38, 0x0ec1b745773c45c5ull},
    {"Duży.sz", 39, 0xaf67514ee61483cfull},
    {"Duży.sz", 40, 0xeeed6fc067d81597ull},
    {"Duży.sz", 41, 0xca1179bb6804f9fcull},
    {"Duży.sz", 42, 0x564d9269f923aa8full},
    {"Duży.sz", 43, 0xdf60d374aa840808ull},
    {"Duży.sz", 44, 0xb722837c8490fabbull},
    {"Duży.sz", 45, 0x06a7cfe5ac80854cull},
    {"Duży.sz", 46, 0x0441eface1dcafe7ull},
    {"Duży.sz", 47, 0xe8988a3f9a2509f7ull},
    {"Duży.sz", 48, 0x789efc31f177fda9ull},
    {"Duży.sz", 49, 0xdb456927fe92c573ull},
    {"Duży.sz", 50, 0xcf95fca84d920162ull},
    {"Mały.sz", 1, 0x2b55aed8bc680813ull},
    {"Mały.sz", 2, 0x4a7ae9a5157f252eull},
    {"Mały.sz", 3, 0x1a768a2741c45486ull},
    {"Mały.sz", 4, 0x7bbe084eb67d5805ull},
    {"Mały.sz", 5, 0x8d379b36e6bde327ull},
    {"Mały.sz", 6, 0x52a2498aa20f30cbull},
    {"Mały.sz", 7, 0x1172d9b57b2b530dull},
    {"Mały.sz", 8, 0xe9311163a4036e24ull},
    {"Mały.sz", 9, 0x788e377f50d3f7dcull},
    {"Mały.sz", 10, 0xa4bb3c70464d6d62ull},
    {"Mały.sz", 11, 0x669e0c84519d2698ull},
    {"Mały.sz", 12, 0xc6885a77f0408193ull},
    {"Mały.sz", 13, 0xeb8c90577d74a44aull},
    {"Mały.sz", 14, 0xe5f11221a6086c5full},
    {"Mały.sz", 15, 0x42b58825f6f23539ull},
    {"Mały.sz", 16, 0x165c45ee18007741ull},
    {"Mały.sz", 17, 0xbfd13d2c7ca755bfull},
    {"Mały.sz", 18, 0x1f74c52dc5ea9263ull},
    {"Mały.sz", 19, 0x3c5b87c645ece5feull},
    {"Mały.sz", 20, 0x72c556058bce6a80ull},
    {"Mały.sz", 21, 0x8981fa4e7257f968ull},
    {"Mały.sz", 22, 0xd5d7f7a8c2b610ddull},
    {"Mały.sz", 23, 0xed4332de6996309dull},
    {"Mały.sz", 24, 0xba2695a5264c2bdaull},
    {"Mały.sz", 25, 0x0d3202c957514b57ull},
    {"Mały.sz", 26, 0x6994e98e793e6456ull},
    {"Mały.sz", 27, 0x9171165ed3eecf96ull},
    {"Mały.sz", 28, 0x381cdd3368e3115aull},
    {"Mały.sz", 29, 0x97d6a2566cbeaf8full},
    {"Mały.sz", 30, 0x206ae76445015017ull},
    {"Mały.sz", 31, 0x3e2d8fe818a68170ull},
    {"Mały.sz", 32, 0x3fee8dc8e40a753aull},
    {"Mały.sz", 33, 0x0c9101e4ab801055ull},
    {"Mały.sz", 34, 0x2a6d931fa57ced19ull},
    {"Mały.sz", 35, 0xc95e20930cfaaf50ull},
    {"Mały.sz", 36, 0xc58d1859dce8c4c1ull},
    {"Mały.sz", 37, 0x49d584c63becf264ull},
    {"Mały.sz", 38, 0x3e47d5d7731c4b2eull},
    {"Mały.sz", 39, 0xde3f16c5cbe6643cull},
    {"Mały.sz", 40, 0x56ca00c05a387972ull},
    {"Mały.sz", 41, 0x561ea63199d1fa87ull},
    {"Mały.sz", 42, 0x30acc2f86f393c95ull},
    {"Mały.sz", 43, 0x058376ae62c92fc3ull},
    {"Mały.sz", 44, 0xa28379609a33584eull},
    {"Mały.sz", 45, 0xf9f2a995ae88f4dfull},
    {"Mały.sz", 46, 0xc9e76ca8c2eb5cf3ull},
    {"Mały.sz", 47, 0xd9f6a8188883c52dull},
    {"Mały.sz", 48, 0xb30af11e10edbc0dull},
    {"Mały.sz", 49, 0xc60636cd424026daull},
    {"Mały.sz", 50, 0x0afb55fdd5173d55ull},
    {"Normal.sz", 1, 0x5d843997b37119d4ull},
    {"Normal.sz", 2, 0x3a3dfb2033f01904ull},
    {"Normal.sz", 3, 0xdba00fe4106c87b6ull},
    {"Normal.sz", 4, 0x0a076809cf95d75aull},
    {"Normal.sz", 5, 0x37d90ce7efb46163ull},
    {"Normal.sz", 6, 0x7aa26d7d432ee3e5ull},
    {"Normal.sz", 7, 0xcde0b85308ee76d6ull},
    {"Normal.sz", 8, 0x70bb92ea7215ffaaull},
    {"Normal.sz", 9, 0x97effff6a98a75f9ull},
    {"Normal.sz", 10, 0xf7e9dd6f8e2c02b4ull},
    {"Normal.sz", 11, 0xb39b185af5e9705cull},
    {"Normal.sz", 12, 0x573c247a133ce0a7ull},
    {"Normal.sz", 13, 0x26bdec20e9d2a3b0ull},
    {"Normal.sz", 14, 0x74ed32161ea04e66ull},
    {"Normal.sz", 15, 0x22cd03ba0531937full},
    {"Normal.sz", 16, 0x59c2a37fcd419f0eull},
    {"Normal.sz", 17, 0xd2ae0f9d45a4548full},
    {"Normal.sz", 18, 0x1c47ff375cf6d2baull},
    {"Normal.sz", 19, 0xe15c0ca9d5a4a3b7ull},
    {"Normal.sz", 20, 0x9df956c42c5b0f0dull},
    {"Normal.sz", 21, 0xe6cc486a602d8fccull},
    {"Normal.sz", 22, 0x9fd56ba87b2a757eull},
    {"Normal.sz", 23, 0xb53ebb879bcba257ull},
    {"Normal.sz", 24, 0x2f2ce11c76ede48aull},
    {"Normal.sz", 25, 0xbcc7f9b8dfe9f074ull},
    {"Normal.sz", 26, 0xb34c5ca17cb7c80full},
    {"Normal.sz", 27, 0x190690d95e624364ull},
    {"Normal.sz", 28, 0x8bb5230b494ffd78ull},
    {"Normal.sz", 29, 0x47bdb155efe55903ull},
    {"Normal.sz", 30, 0xf787f8d395540e0aull},
    {"Normal.sz", 31, 0x2eac50cc58cb7709ull},
    {"Normal.sz", 32, 0x1df7d7d5c18bfdc6ull},
    {"Normal.sz", 33, 0x3c2d6183b755dd25ull},
    {"Normal.sz", 34, 0x61485551e600f98bull},
    {"Normal.sz", 35, 0x343d5b942e21587cull},
    {"Normal.sz", 36, 0x98e9075e1b949242ull},
    {"Normal.sz", 37, 0x73597631256faf8aull},
    {"Normal.sz", 38, 0xd18138fbe7212432ull},
    {"Normal.sz", 39, 0xae3ad6af56a0e23bull},
    {"Normal.sz", 40, 0xc7c3c726b97b82bdull},
    {"Normal.sz", 41, 0x8c85a9905eaa7f96ull},
    {"Normal.sz", 42, 0xcb54c550b5617d1cull},
    {"Normal.sz", 43, 0xbe9838e442bf4b1aull},
    {"Normal.sz", 44, 0x3fa750773be130f0ull},
    {"Normal.sz", 45, 0x872ab2053f9c9c96ull},
    {"Normal.sz", 46, 0x8caa57689b6a200aull},
    {"Normal.sz", 47, 0xe438c74f604efe0cull},
    {"Normal.sz", 48, 0xd327c12be3a04e01ull},
    {"Normal.sz", 49, 0x0ad97cb2bbfe9e18ull},
    {"Normal.sz", 50, 0x82f16b4e58daf4cfull},
    {"Z blokami.sz", 1, 0xde46749a9c29de9full},
    {"Z blokami.sz", 2, 0xf15d620190eacc09ull},
    {"Z blokami.sz", 3, 0x09a7c03aee026e22ull},
    {"Z blokami.sz", 4, 0x2e26421a6d723480ull},
    {"Z blokami.sz", 5, 0xd3643d6da12ea8edull},
    {"Z blokami.sz", 6, 0x6555b576d075514cull},
    {"Z blokami.sz", 7, 0x11f7c374b6deff61ull},
    {"Z blokami.sz", 8, 0xe0fcbc21bad6841dull},
    {"Z blokami.sz", 9, 0x7a75faadee8aa839ull},
    {"Z blokami.sz", 10, 0x26a43a0f7630baf6ull},
    {"Z blokami.sz", 11, 0xd4ee7fcfc4f6ad2dull},
    {"Z blokami.sz", 12, 0x4dbfe37286a7e32aull},
    {"Z blokami.sz", 13, 0x079dbc14b2bb22ceull},
    {"Z blokami.sz", 14, 0xbcd7b1a84f1da93aull},
    {"Z blokami.sz", 15, 0x070273fea8c32ee4ull},
    {"Z blokami.sz", 16, 0xf42bb15fdb037183ull},
    {"Z blokami.sz", 17, 0x5ecef66fcf822ff0ull},
    {"Z blokami.sz", 18, 0x1cf1ebbbd2e3a0d0ull},
    {"Z blokami.sz", 19, 0x444ec73a9a9c7b45ull},
    {"Z blokami.sz", 20, 0x5984a063eef362b2ull},
    {"Z blokami.sz", 21, 0x3e07598b116ea14dull},
    {"Z blokami.sz", 22, 0xed9d3b85b06f1eacull},
    {"Z blokami.sz", 23, 0xbb66b0fbe73fd8fbull},
    {"Z blokami.sz", 24, 0x67e9ac402f90141bull},
    {"Z blokami.sz", 25, 0xfbfd069c99e595d2ull},
    {"Z blokami.sz", 26, 0xcaef547369fe1e34ull},
    {"Z blokami.sz", 27, 0xfee2a942a2c3bd62ull},
    {"Z blokami.sz", 28, 0x694300e65cee50f9ull},
    {"Z blokami.sz", 29, 0xf65e3000477a4e1bull},
    {"Z blokami.sz", 30, 0xccfe3e2fbb1507dcull},
    {"Z blokami.sz", 31, 0x4c6a8bb2ceb240c1ull},
    {"Z blokami.sz", 32, 0x6c885ed320b6a493ull},
    {"Z blokami.sz", 33, 0x6c9950049fc30f64ull},
    {"Z blokami.sz", 34, 0x4f4db3dd0cf34dbfull},
    {"Z blokami.sz", 35, 0x149a28d4d17324a3ull},
    {"Z blokami.sz", 36, 0x8b6dd5d654bd12c3ull},
    {"Z blokami.sz", 37, 0xf9b0369a0903264full},
    {"Z blokami.sz", 38, 0xafcaeb8d2304a9e3ull},
    {"Z blokami.sz", 39, 0x0e717ac6febb7382ull},
    {"Z blokami.sz", 40, 0xc3b9001042004b21ull},
    {"Z blokami.sz", 41, 0xe3d417a445babdceull},
    {"Z blokami.sz", 42, 0x60e6dfe9ce3d7861ull},
    {"Z blokami.sz", 43, 0xee0f865056d08ec2ull},
    {"Z blokami.sz", 44, 0x1bf283f6d45c8b05ull},
    {"Z blokami.sz", 45, 0x0e6489994decb44full},
    {"Z blokami.sz", 46, 0xde1efe2c45c632d4ull},
    {"Z blokami.sz", 47, 0x5ffa6b10a482dd47ull},
    {"Z blokami.sz", 48, 0xf29cfcf1c2c91de9ull},
    {"Z blokami.sz", 49, 0x38adc583bcdcb92cull},
    {"Z blokami.sz", 50, 0x1bec32303e7db3f0ull},
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
