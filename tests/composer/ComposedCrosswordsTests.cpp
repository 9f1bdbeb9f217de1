// The crossword a seed gives with the shipped templates and database is fixed:
// a change that only makes composing faster must leave every one of them as it
// is. The table holds a hash of each crossword (letters, numbered clues and
// sounds, steps and restarts) as composed before the search was made faster.
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

const TComposed Composed[] = {
    {"Duży.sz", 1, 0x5355b7e0e1a2a2bdull},
    {"Duży.sz", 2, 0x1b87884aa3ced544ull},
    {"Duży.sz", 3, 0x38c33e3c8a1b753full},
    {"Duży.sz", 4, 0xfee73d6e9015d6edull},
    {"Duży.sz", 5, 0x879427e3be7d2a9dull},
    {"Duży.sz", 6, 0x34bf0a363dccbbfaull},
    {"Duży.sz", 7, 0xb16faecbcd80a7c4ull},
    {"Duży.sz", 8, 0x7580719a7663db70ull},
    {"Duży.sz", 9, 0x76542cee2d185798ull},
    {"Duży.sz", 10, 0x9eb71ae09601e394ull},
    {"Duży.sz", 11, 0x7feb57c768121a46ull},
    {"Duży.sz", 12, 0x7625c16489c1bf6aull},
    {"Duży.sz", 13, 0x59c15460873f9251ull},
    {"Duży.sz", 14, 0xfb15e33f381f8053ull},
    {"Duży.sz", 15, 0xfd57696e17cfd183ull},
    {"Duży.sz", 16, 0x82722435f498920aull},
    {"Duży.sz", 17, 0x20f23c030c52ed13ull},
    {"Duży.sz", 18, 0x9c144d45a201de7full},
    {"Duży.sz", 19, 0xa6af241692e73030ull},
    {"Duży.sz", 20, 0x85b2335448b81a82ull},
    {"Duży.sz", 21, 0x90a26afdc21a1efcull},
    {"Duży.sz", 22, 0xdf641b88e6c3118aull},
    {"Duży.sz", 23, 0xeb451c9df5f4bf62ull},
    {"Duży.sz", 24, 0xc37a35f34ddc6a52ull},
    {"Duży.sz", 25, 0x3d4d9300c90dfeddull},
    {"Duży.sz", 26, 0xc1c42a4a54d1c837ull},
    {"Duży.sz", 27, 0xed2089762683d9faull},
    {"Duży.sz", 28, 0x1cd0e2c30457089full},
    {"Duży.sz", 29, 0x1ed9a37a67997e1dull},
    {"Duży.sz", 30, 0x36371958dc0fac99ull},
    {"Duży.sz", 31, 0x24142a0897a29479ull},
    {"Duży.sz", 32, 0x110f23e7f66ad6dbull},
    {"Duży.sz", 33, 0x4439931dc7b4e646ull},
    {"Duży.sz", 34, 0x4e16976c88973429ull},
    {"Duży.sz", 35, 0x8f2cc4938bf5b84full},
    {"Duży.sz", 36, 0x00b1aee52a6c9590ull},
    {"Duży.sz", 37, 0x7092f5db6ca170a3ull},
    {"Duży.sz", 38, 0xb14d4e0bd6f7e5a9ull},
    {"Duży.sz", 39, 0x53322d2ce46fc4a6ull},
    {"Duży.sz", 40, 0xdaaa0db6d0829d27ull},
    {"Duży.sz", 41, 0xaac33acf31afd8d2ull},
    {"Duży.sz", 42, 0x31234d0398547732ull},
    {"Duży.sz", 43, 0xfdd1d2b34c70e3c6ull},
    {"Duży.sz", 44, 0xd5643076366b66d1ull},
    {"Duży.sz", 45, 0xc267ddaff341a4b4ull},
    {"Duży.sz", 46, 0x6c5fe6ce3346b00cull},
    {"Duży.sz", 47, 0x12e15a095d696d07ull},
    {"Duży.sz", 48, 0xbdfde93b7e72780cull},
    {"Duży.sz", 49, 0x67bc8b8e0e533878ull},
    {"Duży.sz", 50, 0xe651745b0d935b6aull},
    {"Mały.sz", 1, 0x8ccee01348f3074cull},
    {"Mały.sz", 2, 0x8cb70e30f7f60ea0ull},
    {"Mały.sz", 3, 0x44b0d5b6d70810cfull},
    {"Mały.sz", 4, 0x972d3272b41739f7ull},
    {"Mały.sz", 5, 0x0cb203ae56db1a9full},
    {"Mały.sz", 6, 0x540173034b06d0baull},
    {"Mały.sz", 7, 0xca67ec2f19e7fc1bull},
    {"Mały.sz", 8, 0xb304496da07d3b10ull},
    {"Mały.sz", 9, 0x806363eadff40fd3ull},
    {"Mały.sz", 10, 0x279a6a1897047c78ull},
    {"Mały.sz", 11, 0x4dbd143bc85c0951ull},
    {"Mały.sz", 12, 0xedc79e4e7c13a907ull},
    {"Mały.sz", 13, 0x67a736d0f25eb4aaull},
    {"Mały.sz", 14, 0xf4b9273c54cd7b3aull},
    {"Mały.sz", 15, 0x7451887c96fbe793ull},
    {"Mały.sz", 16, 0x3d17f5101c078054ull},
    {"Mały.sz", 17, 0x786b210fc10e79afull},
    {"Mały.sz", 18, 0xe0919e2f2e8836ffull},
    {"Mały.sz", 19, 0xb12a9c60f7135d2bull},
    {"Mały.sz", 20, 0x07dc78f34d9cf675ull},
    {"Mały.sz", 21, 0xaf63222e1b420e2bull},
    {"Mały.sz", 22, 0x72398aeed5af7059ull},
    {"Mały.sz", 23, 0x6a847e5ded39f173ull},
    {"Mały.sz", 24, 0x39378768fe44d527ull},
    {"Mały.sz", 25, 0xd2f0133d1de20facull},
    {"Mały.sz", 26, 0xba47f4737e32eaadull},
    {"Mały.sz", 27, 0x63dbc23b5cb145b2ull},
    {"Mały.sz", 28, 0x4c7e28c2263676baull},
    {"Mały.sz", 29, 0x8b368482c098bac2ull},
    {"Mały.sz", 30, 0xaf625f6f9cb253fbull},
    {"Mały.sz", 31, 0x7a18e7567b9cd440ull},
    {"Mały.sz", 32, 0x705efd2d1d99abcbull},
    {"Mały.sz", 33, 0xf2ccd9eef2c65217ull},
    {"Mały.sz", 34, 0xb0c1fe371b90b5ceull},
    {"Mały.sz", 35, 0xb237d3831a972263ull},
    {"Mały.sz", 36, 0x2dce7ac9c840fe61ull},
    {"Mały.sz", 37, 0x353ced052f4ec7cbull},
    {"Mały.sz", 38, 0xa88cacdede7b8548ull},
    {"Mały.sz", 39, 0x220a16f5443ac145ull},
    {"Mały.sz", 40, 0x723856cd911af7c4ull},
    {"Mały.sz", 41, 0xfcc46180cd985d3aull},
    {"Mały.sz", 42, 0xaf99a7d63be94ff0ull},
    {"Mały.sz", 43, 0x83a233e104019cd5ull},
    {"Mały.sz", 44, 0x252aaa3cf5e1d287ull},
    {"Mały.sz", 45, 0xafde306ed48b11ffull},
    {"Mały.sz", 46, 0x1e7716960368bdc2ull},
    {"Mały.sz", 47, 0xdd6edc04bfeeb1a1ull},
    {"Mały.sz", 48, 0x341e59757d042e1bull},
    {"Mały.sz", 49, 0xc44ec29831678471ull},
    {"Mały.sz", 50, 0x11a22b49cd01793cull},
    {"Normal.sz", 1, 0x65a838d142298da8ull},
    {"Normal.sz", 2, 0x6cbb42e2c8c6d176ull},
    {"Normal.sz", 3, 0xb362ed4db4338a7eull},
    {"Normal.sz", 4, 0x063de995df417b37ull},
    {"Normal.sz", 5, 0x95ad464cb175706full},
    {"Normal.sz", 6, 0x45cb1a8257889112ull},
    {"Normal.sz", 7, 0x536616b6583f4ce9ull},
    {"Normal.sz", 8, 0x6ea17228c0078ca2ull},
    {"Normal.sz", 9, 0x2277497b9b494f17ull},
    {"Normal.sz", 10, 0x5d79e07df758f2e0ull},
    {"Normal.sz", 11, 0xa52aa2f9b3f0d842ull},
    {"Normal.sz", 12, 0xfc65510c26531f06ull},
    {"Normal.sz", 13, 0x9ac130993d5c474aull},
    {"Normal.sz", 14, 0x4b11b08e621cce16ull},
    {"Normal.sz", 15, 0xf0cbeb83c526a130ull},
    {"Normal.sz", 16, 0x7564674493f210faull},
    {"Normal.sz", 17, 0xb36365f3fdc5c597ull},
    {"Normal.sz", 18, 0xbaf3db314d55d26bull},
    {"Normal.sz", 19, 0x0a49e070606af3d3ull},
    {"Normal.sz", 20, 0x26508d5ccde7f1e1ull},
    {"Normal.sz", 21, 0x1a7c228d6b357dc0ull},
    {"Normal.sz", 22, 0xae8644dbc6dbedaaull},
    {"Normal.sz", 23, 0xe13ec9da6e01a0f3ull},
    {"Normal.sz", 24, 0x7f893fcf2200c086ull},
    {"Normal.sz", 25, 0xf3ddc919682cdd8bull},
    {"Normal.sz", 26, 0x215d9e47681d7f8cull},
    {"Normal.sz", 27, 0xfd964cac1604f31cull},
    {"Normal.sz", 28, 0x62b784b77995a0c7ull},
    {"Normal.sz", 29, 0x1f59e9e45ca8d7a1ull},
    {"Normal.sz", 30, 0xec4692ad0cdb03cdull},
    {"Normal.sz", 31, 0xa0bfcd3160a99ba3ull},
    {"Normal.sz", 32, 0x0095c9b84dbf8134ull},
    {"Normal.sz", 33, 0x1f0b69ea0dda3f07ull},
    {"Normal.sz", 34, 0x30c36bc9df2c58ceull},
    {"Normal.sz", 35, 0x407b0de8c2ce4558ull},
    {"Normal.sz", 36, 0xaa73f0d9b1213e44ull},
    {"Normal.sz", 37, 0xc56b21239243b1ddull},
    {"Normal.sz", 38, 0x24fb1fac681fe1feull},
    {"Normal.sz", 39, 0x2f47e2bca69a25d6ull},
    {"Normal.sz", 40, 0x8cf36817e0565416ull},
    {"Normal.sz", 41, 0xe3550fede501d9e5ull},
    {"Normal.sz", 42, 0x40b12557f10cce76ull},
    {"Normal.sz", 43, 0x3576dc1b9c42fb1bull},
    {"Normal.sz", 44, 0x359015d5fc115536ull},
    {"Normal.sz", 45, 0x2cc29f3174d5d4d6ull},
    {"Normal.sz", 46, 0xbf82c1f6de39a86cull},
    {"Normal.sz", 47, 0xe5c5e957d27221eaull},
    {"Normal.sz", 48, 0x8b3183d1f3b6f28dull},
    {"Normal.sz", 49, 0xef77b6db24e743f9ull},
    {"Normal.sz", 50, 0x13fa78ec1a3bd356ull},
    {"Z blokami.sz", 1, 0x8e3b7ca65998da46ull},
    {"Z blokami.sz", 2, 0x335e2025a03c5304ull},
    {"Z blokami.sz", 3, 0xf18b8e9479af350eull},
    {"Z blokami.sz", 4, 0xc26115af12152850ull},
    {"Z blokami.sz", 5, 0x26d2c0ad9eb0d35aull},
    {"Z blokami.sz", 6, 0x9673e3e13c448d88ull},
    {"Z blokami.sz", 7, 0x6d594623ff2ae2a9ull},
    {"Z blokami.sz", 8, 0x65d09c3b80e260cfull},
    {"Z blokami.sz", 9, 0x8d71f48da35c61bbull},
    {"Z blokami.sz", 10, 0x94f82e4672593fbaull},
    {"Z blokami.sz", 11, 0xbd84ca3ec2dbceebull},
    {"Z blokami.sz", 12, 0x624a022abe450670ull},
    {"Z blokami.sz", 13, 0x7bbf19f01378be18ull},
    {"Z blokami.sz", 14, 0x3ac05fcb2b9564f3ull},
    {"Z blokami.sz", 15, 0xa4d2ca4e1e63a0bcull},
    {"Z blokami.sz", 16, 0xab2d85a4aeda37d0ull},
    {"Z blokami.sz", 17, 0x5f3dcb2333573160ull},
    {"Z blokami.sz", 18, 0x4302ddd02c272bbeull},
    {"Z blokami.sz", 19, 0x886bf92f8471fc8full},
    {"Z blokami.sz", 20, 0x666e621c499d02a4ull},
    {"Z blokami.sz", 21, 0xba883853e799eacaull},
    {"Z blokami.sz", 22, 0xecb3dc35c0f5bbc0ull},
    {"Z blokami.sz", 23, 0xf11d97052c804f4bull},
    {"Z blokami.sz", 24, 0x7c289e10f525bdebull},
    {"Z blokami.sz", 25, 0xa5986e84f6f050aeull},
    {"Z blokami.sz", 26, 0x7887a38ea7d5c219ull},
    {"Z blokami.sz", 27, 0x62913d4769fb2f8cull},
    {"Z blokami.sz", 28, 0x3b426ccf7e41ddfeull},
    {"Z blokami.sz", 29, 0xe0f4e4dcbf2ce42aull},
    {"Z blokami.sz", 30, 0x8bd0423cb5aee548ull},
    {"Z blokami.sz", 31, 0xd319ae59a6e99696ull},
    {"Z blokami.sz", 32, 0xb4707a9c527cbfbeull},
    {"Z blokami.sz", 33, 0xef4fca9537866bd9ull},
    {"Z blokami.sz", 34, 0x19247dcf63e1e135ull},
    {"Z blokami.sz", 35, 0xc8964b681ba85ad0ull},
    {"Z blokami.sz", 36, 0xb0a38f4480645187ull},
    {"Z blokami.sz", 37, 0x56c6d3d4af75e5adull},
    {"Z blokami.sz", 38, 0x6d3ad2d83267a2cdull},
    {"Z blokami.sz", 39, 0xc426b166878e24f9ull},
    {"Z blokami.sz", 40, 0xe8e8e55486ccee43ull},
    {"Z blokami.sz", 41, 0x84da3db35521da97ull},
    {"Z blokami.sz", 42, 0x97f843be9ce67b99ull},
    {"Z blokami.sz", 43, 0x5a549cd4b0979d89ull},
    {"Z blokami.sz", 44, 0x74995e91688e987full},
    {"Z blokami.sz", 45, 0x2cc5798cc4a8cde3ull},
    {"Z blokami.sz", 46, 0xf404e97b63a1f0e5ull},
    {"Z blokami.sz", 47, 0x994b200bbf622778ull},
    {"Z blokami.sz", 48, 0xa2214c12d62bc8e5ull},
    {"Z blokami.sz", 49, 0xbdbe1d8b7ea818d7ull},
    {"Z blokami.sz", 50, 0x6f1f4ad68517cf2eull},
};

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
        hash.Add(static_cast<uint64_t>(item.Expl.Col) << 32 | static_cast<uint64_t>(item.Expl.Row) << 1 |
                 (item.Expl.Horizontal ? 1 : 0));
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
    std::map<std::string, std::unique_ptr<TComposeRun>> runs;
    for (const auto& [name, pattern] : templates)
        runs[name] = std::make_unique<TComposeRun>(
            pattern, FileDBSource(AppDir + "/baza.hk", {settings.MinLenPWord, settings.MaxLenPWord}), settings);
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
