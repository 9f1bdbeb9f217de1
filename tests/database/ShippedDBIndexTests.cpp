// The index against the plain walk over the whole shipped database.
#include "DBEquivalence.h"
#include "DBTestUtil.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

TEST(ShippedDatabase, IndexedQueriesAgreeWithThePlainWalk)
{
    TDB plain(qmPlain);
    TDB indexed(qmIndexed);
    plain.Load(MZ_DB_FILE);
    indexed.Load(MZ_DB_FILE);
    ASSERT_GT(plain.WordCount(), 20000);
    std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (const unsigned char c : PolishCapitals)
        alphabet += static_cast<char>(c);
    TEquivalence(plain, indexed, alphabet, 2024).Run(3000);
}
