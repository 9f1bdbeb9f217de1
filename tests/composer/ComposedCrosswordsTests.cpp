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
    {"Duży.sz", 1, 0x24ff001933dd884bull},
    {"Duży.sz", 2, 0x341a6f839598e625ull},
    {"Duży.sz", 3, 0x4137434317d2abefull},
    {"Duży.sz", 4, 0xb8623c25246db99dull},
    {"Duży.sz", 5, 0x2d36bb1afacb85f3ull},
    {"Duży.sz", 6, 0x180526bc991e364bull},
    {"Duży.sz", 7, 0xa5a36c95c3505dc0ull},
    {"Duży.sz", 8, 0x973d3eb3928eef90ull},
    {"Duży.sz", 9, 0xf87eb8cb88c2b02full},
    {"Duży.sz", 10, 0x93ee4a9a2a645174ull},
    {"Duży.sz", 11, 0xb3c7c623d0d0a797ull},
    {"Duży.sz", 12, 0x3d1e39806f01ca53ull},
    {"Duży.sz", 13, 0x1f828f9bc0aaff30ull},
    {"Duży.sz", 14, 0x311798fc69481cf3ull},
    {"Duży.sz", 15, 0xce685bb645df73eaull},
    {"Duży.sz", 16, 0x6b936e39d0fa30ebull},
    {"Duży.sz", 17, 0x92a82a2fbf0eaf7cull},
    {"Duży.sz", 18, 0x9ce7f2b3375a9e17ull},
    {"Duży.sz", 19, 0xe983349e33e66febull},
    {"Duży.sz", 20, 0x848afeaa7dd5b62full},
    {"Duży.sz", 21, 0x7f9edf1e76c8ed60ull},
    {"Duży.sz", 22, 0x3aa42a159e739565ull},
    {"Duży.sz", 23, 0xedb2daa6453f60fcull},
    {"Duży.sz", 24, 0xba2cf83e6e2c4a75ull},
    {"Duży.sz", 25, 0x578a0eba0fba4946ull},
    {"Duży.sz", 26, 0xffc39f209a7d2d5cull},
    {"Duży.sz", 27, 0x16a2b823023383f8ull},
    {"Duży.sz", 28, 0x6f89eaf13e586143ull},
    {"Duży.sz", 29, 0x52b410054ee42152ull},
    {"Duży.sz", 30, 0xddb7476194dca3b7ull},
    {"Duży.sz", 31, 0x1ee30e23a541fbd9ull},
    {"Duży.sz", 32, 0x3f8d7965b8855239ull},
    {"Duży.sz", 33, 0x9e183414c92400cfull},
    {"Duży.sz", 34, 0x6f0b71afc17f915aull},
    {"Duży.sz", 35, 0x9e363dd5ba9d789cull},
    {"Duży.sz", 36, 0x8ab91f1bfbf054e8ull},
    {"Duży.sz", 37, 0x43a122c7991e5cd7ull},
    {"Duży.sz", 38, 0x1d8810995ac81d56ull},
    {"Duży.sz", 39, 0xb2a305b1a04258b6ull},
    {"Duży.sz", 40, 0xa79a1320fb5f4eb2ull},
    {"Duży.sz", 41, 0x828eff35b95b67bbull},
    {"Duży.sz", 42, 0xe57efce62753fe0bull},
    {"Duży.sz", 43, 0x217c4436120a85ccull},
    {"Duży.sz", 44, 0x66e36fbdd27ade4bull},
    {"Duży.sz", 45, 0x0f687558e8d1390full},
    {"Duży.sz", 46, 0xb77d8e0de5d3319eull},
    {"Duży.sz", 47, 0x95bcd5ff020dc8a5ull},
    {"Duży.sz", 48, 0x5e02ab11cf0453c0ull},
    {"Duży.sz", 49, 0x9bd6ab1ec54cc99full},
    {"Duży.sz", 50, 0x0e933b0c61e5347bull},
    {"Mały.sz", 1, 0xd453c8c1ce3f75daull},
    {"Mały.sz", 2, 0xefd36d1fecdc079bull},
    {"Mały.sz", 3, 0x3f5ab20d8979cb31ull},
    {"Mały.sz", 4, 0xf4499fe44a135f40ull},
    {"Mały.sz", 5, 0x881706ce756fc54aull},
    {"Mały.sz", 6, 0xa60d1d59216d7b62ull},
    {"Mały.sz", 7, 0xfe16dea3169c5d97ull},
    {"Mały.sz", 8, 0x7567cee9b71f9192ull},
    {"Mały.sz", 9, 0x496914cd9e0eb048ull},
    {"Mały.sz", 10, 0x31eb8114dae3236eull},
    {"Mały.sz", 11, 0x25d3fe68a411009dull},
    {"Mały.sz", 12, 0x20bd733c2643d57dull},
    {"Mały.sz", 13, 0x627b8c629c8bcd34ull},
    {"Mały.sz", 14, 0xb26b99ee76f1f824ull},
    {"Mały.sz", 15, 0x0b0ff31b5eff0849ull},
    {"Mały.sz", 16, 0x8eef99d14f6224ecull},
    {"Mały.sz", 17, 0xdb31cb30d1ad5aadull},
    {"Mały.sz", 18, 0xa3a3b712c29ef34full},
    {"Mały.sz", 19, 0xb3bf9ffd19c9e578ull},
    {"Mały.sz", 20, 0x35324623158e8da0ull},
    {"Mały.sz", 21, 0x98358c00f9601756ull},
    {"Mały.sz", 22, 0x14e326123a6743c7ull},
    {"Mały.sz", 23, 0xffc348f889ccb5a5ull},
    {"Mały.sz", 24, 0xefce024a33794d73ull},
    {"Mały.sz", 25, 0x637810b9b3e7233bull},
    {"Mały.sz", 26, 0xad9800bd52183632ull},
    {"Mały.sz", 27, 0x334d6f7758ed4b5eull},
    {"Mały.sz", 28, 0x3b14ebadac63492eull},
    {"Mały.sz", 29, 0x16160f83a8566e48ull},
    {"Mały.sz", 30, 0x30dc90af30357216ull},
    {"Mały.sz", 31, 0x1c0b3b0db430b4c5ull},
    {"Mały.sz", 32, 0xd5dc64f90bd0e183ull},
    {"Mały.sz", 33, 0xa847bec6af57b0d7ull},
    {"Mały.sz", 34, 0x99e8dbd65431e21aull},
    {"Mały.sz", 35, 0xddd18ab5750fde33ull},
    {"Mały.sz", 36, 0xbda657574be371e5ull},
    {"Mały.sz", 37, 0x073b921eed41e6edull},
    {"Mały.sz", 38, 0x6400d7ae306341b4ull},
    {"Mały.sz", 39, 0x9db3698f37ed79e8ull},
    {"Mały.sz", 40, 0xf4824f4c1ec6db9cull},
    {"Mały.sz", 41, 0xc2a2cc8ff7d7dce5ull},
    {"Mały.sz", 42, 0x983fd8c8d337cd63ull},
    {"Mały.sz", 43, 0x5acdd78e5fb3a3a9ull},
    {"Mały.sz", 44, 0x379ca8de7b3de62aull},
    {"Mały.sz", 45, 0xd0d02135f0521412ull},
    {"Mały.sz", 46, 0x67e94ff8ab2e2ab7ull},
    {"Mały.sz", 47, 0xa6dac10324cb8207ull},
    {"Mały.sz", 48, 0x3e4814fd6341e581ull},
    {"Mały.sz", 49, 0xd68f3e5224321d55ull},
    {"Mały.sz", 50, 0x967b4468eef4f19cull},
    {"Normal.sz", 1, 0xbbcc14d19ea4d674ull},
    {"Normal.sz", 2, 0xe868180b963d8fd6ull},
    {"Normal.sz", 3, 0x2f69941517e0f473ull},
    {"Normal.sz", 4, 0x17536835aecc54e2ull},
    {"Normal.sz", 5, 0xbf2c8e621585bc60ull},
    {"Normal.sz", 6, 0xd0e54c9e5f1270e2ull},
    {"Normal.sz", 7, 0x0405a7538a0ab172ull},
    {"Normal.sz", 8, 0x4300fe85e3c9ecd1ull},
    {"Normal.sz", 9, 0x3ff45b9e14edbe5eull},
    {"Normal.sz", 10, 0x74390ba2d1dd848full},
    {"Normal.sz", 11, 0x47ba43b8573ef62aull},
    {"Normal.sz", 12, 0x0d6f2614f87b2737ull},
    {"Normal.sz", 13, 0x297bca1a109b219full},
    {"Normal.sz", 14, 0x51befefa82bf3961ull},
    {"Normal.sz", 15, 0xcb402efd1d6698bcull},
    {"Normal.sz", 16, 0x352a7f04d8d93e26ull},
    {"Normal.sz", 17, 0xefd1c2c70be6941full},
    {"Normal.sz", 18, 0xeba673489f1af70bull},
    {"Normal.sz", 19, 0x10d5903f645b6ddaull},
    {"Normal.sz", 20, 0x99413d0626be37d5ull},
    {"Normal.sz", 21, 0x6320c0c0e60c2260ull},
    {"Normal.sz", 22, 0x606234c4c67e084aull},
    {"Normal.sz", 23, 0xbb52d178f6b921c2ull},
    {"Normal.sz", 24, 0xf03605ee83dad225ull},
    {"Normal.sz", 25, 0xdbbd4c04f5cd2961ull},
    {"Normal.sz", 26, 0x1b4d73d45a7c557dull},
    {"Normal.sz", 27, 0xc0787dbcea7ec50aull},
    {"Normal.sz", 28, 0x43aef311d0821c17ull},
    {"Normal.sz", 29, 0x87fad02763453df6ull},
    {"Normal.sz", 30, 0x35b7b35d4de54730ull},
    {"Normal.sz", 31, 0x66276fd65bb60986ull},
    {"Normal.sz", 32, 0xedd3263b887014edull},
    {"Normal.sz", 33, 0x23ed61b75af0adffull},
    {"Normal.sz", 34, 0xbd706a5b86030648ull},
    {"Normal.sz", 35, 0x62d9999007d7c9a1ull},
    {"Normal.sz", 36, 0xf611514186e7398dull},
    {"Normal.sz", 37, 0xdd4623f915824376ull},
    {"Normal.sz", 38, 0xca69b74a9c5455a7ull},
    {"Normal.sz", 39, 0x49fbaace5c0bfae2ull},
    {"Normal.sz", 40, 0x08d6eea6ed4a29ceull},
    {"Normal.sz", 41, 0x9bfc59d2f6eb03abull},
    {"Normal.sz", 42, 0x82dd52d0f8b1a857ull},
    {"Normal.sz", 43, 0xed62d525a6cb5254ull},
    {"Normal.sz", 44, 0x8d30acd6ef5fd09eull},
    {"Normal.sz", 45, 0x31689531345cef3aull},
    {"Normal.sz", 46, 0x0a47c7710a56a666ull},
    {"Normal.sz", 47, 0x9ba2c948103bcd82ull},
    {"Normal.sz", 48, 0x56f0834cae15c97aull},
    {"Normal.sz", 49, 0x0988fa6c0c9be845ull},
    {"Normal.sz", 50, 0x21c3c54dfe5399ebull},
    {"Z blokami.sz", 1, 0x1eb1b4e83720c669ull},
    {"Z blokami.sz", 2, 0xca0c7314a3a09348ull},
    {"Z blokami.sz", 3, 0xaf432619cafe67a1ull},
    {"Z blokami.sz", 4, 0x063ac40477d192acull},
    {"Z blokami.sz", 5, 0xd1cb4cd05274750cull},
    {"Z blokami.sz", 6, 0x10b8b7c9d76fa183ull},
    {"Z blokami.sz", 7, 0x7761a682e901d956ull},
    {"Z blokami.sz", 8, 0x991167d4fd96e2f5ull},
    {"Z blokami.sz", 9, 0xb9c7d8884d2e10dfull},
    {"Z blokami.sz", 10, 0x4e02f99c3633ffa7ull},
    {"Z blokami.sz", 11, 0xf2e0d08911086098ull},
    {"Z blokami.sz", 12, 0xae0f41806d294a47ull},
    {"Z blokami.sz", 13, 0x4700c487a3eedeebull},
    {"Z blokami.sz", 14, 0xf8cb206ffc29a6ffull},
    {"Z blokami.sz", 15, 0x0e77d972d3f5e96eull},
    {"Z blokami.sz", 16, 0xc12a9826e6a0a6c1ull},
    {"Z blokami.sz", 17, 0x4911469a1bde1339ull},
    {"Z blokami.sz", 18, 0x8126bc0195eadd3bull},
    {"Z blokami.sz", 19, 0xccdfbb54824d76c2ull},
    {"Z blokami.sz", 20, 0x2dc24649a7747b73ull},
    {"Z blokami.sz", 21, 0x9fd662e030e2a6c9ull},
    {"Z blokami.sz", 22, 0xcc66fcd0d7a1336eull},
    {"Z blokami.sz", 23, 0x3466981a215dae94ull},
    {"Z blokami.sz", 24, 0xf4549a223c0f462dull},
    {"Z blokami.sz", 25, 0x781a07e1ff9361d5ull},
    {"Z blokami.sz", 26, 0x600895510f2856a9ull},
    {"Z blokami.sz", 27, 0xe349e9e6ca85e787ull},
    {"Z blokami.sz", 28, 0xfa6c8a9ccc47b7e0ull},
    {"Z blokami.sz", 29, 0xa60fbce414d8b355ull},
    {"Z blokami.sz", 30, 0xda6467096803c5a1ull},
    {"Z blokami.sz", 31, 0xbff536b4315721cbull},
    {"Z blokami.sz", 32, 0xb52d1e0f096e4241ull},
    {"Z blokami.sz", 33, 0xbdb32290d7cb20f1ull},
    {"Z blokami.sz", 34, 0x2c42e453d0983109ull},
    {"Z blokami.sz", 35, 0xd71f06e802fec1ccull},
    {"Z blokami.sz", 36, 0xf0cd556ca78bb96dull},
    {"Z blokami.sz", 37, 0x8dbf8d2bd0873792ull},
    {"Z blokami.sz", 38, 0xb60dd0dbdc8abd11ull},
    {"Z blokami.sz", 39, 0x95f4e8adba65cb81ull},
    {"Z blokami.sz", 40, 0x915ccdf111e7432dull},
    {"Z blokami.sz", 41, 0xf3404be7c5b347fcull},
    {"Z blokami.sz", 42, 0x2c3ee7ed617049a0ull},
    {"Z blokami.sz", 43, 0xddb6efc0474acaebull},
    {"Z blokami.sz", 44, 0x5e6fc29573e29fd3ull},
    {"Z blokami.sz", 45, 0x25f4cbf06f1080dfull},
    {"Z blokami.sz", 46, 0xf3d23a07efdfb0faull},
    {"Z blokami.sz", 47, 0x307d62309effd98eull},
    {"Z blokami.sz", 48, 0xc4440da9d1abd1b3ull},
    {"Z blokami.sz", 49, 0xf13bd819944a14ccull},
    {"Z blokami.sz", 50, 0x2452aaef83288edcull},
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
