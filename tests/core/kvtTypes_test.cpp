#include "core/kvtTypes.h"

#include <gtest/gtest.h>

TEST(KvtTypes, EnumerationValuesKeepTheirPositions) {
  EXPECT_EQ(dboTable, 1);
  EXPECT_EQ(dboDepend, 41);
  EXPECT_EQ(dboUseOfList, TDbObjectCount - 1);
  EXPECT_EQ(coDescription, TCmpObjTypeCount - 1);
  EXPECT_EQ(TCmpObjSetType().Bits, 8388607u);
  EXPECT_STREQ(StatementKindNames[skConnect], "Connect");
  EXPECT_STREQ(StatementKindNames[skExecuteBlock], "ExecuteBlock");
  EXPECT_STREQ(StatementKindNames[skPackage], "Package");
  EXPECT_EQ(srvASE, 8);
}

TEST(KvtTypes, CmpObjSetIncludesAndExcludes) {
  TCmpObjSetType s = TCmpObjSetType::Empty();
  EXPECT_FALSE(s.Contains(coTable));
  s.Include(coTable);
  s.Include(coDescription);
  EXPECT_TRUE(s.Contains(coTable));
  EXPECT_TRUE(s.Contains(coDescription));
  s.Exclude(coTable);
  EXPECT_FALSE(s.Contains(coTable));
}

struct LiteralCase {
  std::string text;
  TServerType server;
  std::string expected;
};

TEST(KvtTypes, QuoteLiteralPerDialect) {
  const LiteralCase cases[] = {
      {"it's", srvMySQL, "'it\\'s'"},
      {"it's", srvInterBase, "'it''s'"},
      {"it's", srvOracle, "'it''s'"},
      {"it's", srvPostgreSQL, "'it''s'"},
      {"", srvMySQL, "''"},
      {"", srvPostgreSQL, "''"},
      {"", srvMSSQL, "''"},
      {"", srvNone, "''"},
      {"a\nb", srvPostgreSQL, "'a\nb'"},
      {"a\\b\tc", srvPostgreSQL, "'a\\x5cb\\tc'"},
      {std::string("a\0b", 3), srvPostgreSQL, "'a\\x00b'"},
      {std::string("\0\b\t\n\r\x1a\"\\", 8), srvMySQL, "'\\0\\b\\t\\n\\r\\Z\\\"\\\\'"},
      {"a\\b", srvMSSQL, "'a\\b'"},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteLiteral(c.text, c.server), c.expected) << c.text;
}

TEST(KvtTypes, DefaultTerminator) {
  EXPECT_EQ(DefaultTerminator(srvNone), ";\r\n");
  EXPECT_EQ(DefaultTerminator(srvInterBase), ";\r\n");
  EXPECT_EQ(DefaultTerminator(srvASA), "\r\ngo\r\n");
  EXPECT_EQ(DefaultTerminator(srvASE), "\r\ngo\r\n");
  EXPECT_EQ(DefaultTerminator(srvMSSQL), "\r\nGO\r\n");
  EXPECT_EQ(DefaultTerminator(srvPostgreSQL), ";\r\n");
}

TEST(KvtTypes, TryParseInt) {
  int32_t v = 0;
  EXPECT_TRUE(TryParseInt("42", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(TryParseInt("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(TryParseInt("12a", v));
  EXPECT_FALSE(TryParseInt("", v));
  for (const char* spaced : {" 1", "\t1", "\v1", "\f1", "\n1", "1 "})
    EXPECT_FALSE(TryParseInt(spaced, v)) << int(spaced[0]);
  EXPECT_FALSE(TryParseInt("2147483648", v));
  EXPECT_FALSE(TryParseInt("abc", v));
}

TEST(KvtTypes, QualifyName) {
  EXPECT_EQ(QualifyName("", "T"), "T");
  EXPECT_EQ(QualifyName("S", "T"), "S.T");
}

TEST(KvtTypes, StorageClause) {
  TTableSpace t;
  EXPECT_EQ(GetStorageClause(t), "");
  t.PctFree = 10;
  EXPECT_EQ(GetStorageClause(t), "pctfree 10");
  t.MaxTrans = 5;
  t.Storage = "(initial 64K)";
  t.CacheClause = "CACHE READS";
  EXPECT_EQ(GetStorageClause(t),
            "pctfree 10\r\n   maxtrans 5\r\n   storage\r\n(initial 64K)\r\n   CACHE READS");
}

TEST(KvtTypes, MergeStorageFillsBothSidesAndKeepsOwnValues) {
  TTableSpace a, b;
  a.PctFree = 10;
  b.PctFree = 20;
  b.MaxTrans = 5;
  b.CacheClause = "NOCACHE";
  MergeStorage(a, b);
  EXPECT_EQ(a.PctFree, 10);
  EXPECT_EQ(a.MaxTrans, 5);
  EXPECT_EQ(b.PctFree, 20);
  EXPECT_EQ(b.MaxTrans, 5);
  EXPECT_EQ(a.CacheClause, "");  // the cache clause is not merged
}

TEST(KvtTypes, DirectiveText) {
  TTypeDirective d;
  EXPECT_EQ(GetDirectiveText(d), "");
  d.Overriding = d.NotInstantiable = d.NotFinal = d.Instantiable = d.Final = true;
  EXPECT_EQ(GetDirectiveText(d), "OVERRIDING NOT INSTANTIABLE NOT FINAL INSTANTIABLE FINAL ");
}

TEST(KvtTypes, CharInSet) {
  const TCharSet digits = MakeCharSet("0123456789");
  EXPECT_TRUE(CharInSet('5', digits));
  EXPECT_FALSE(CharInSet('a', digits));
  EXPECT_FALSE(CharInSet('\xff', digits));
}
