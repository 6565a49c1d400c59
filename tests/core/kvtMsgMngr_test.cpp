#include "core/kvtMsgMngr.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Any distinct address serves as an object reference; the manager never
// dereferences it.
TDbObj* FakeObj(int& anchor) { return reinterpret_cast<TDbObj*>(&anchor); }

void ExpectSame(const TMsgData& a, const TMsgData& b) {
  EXPECT_EQ(a.Text, b.Text);
  EXPECT_EQ(a.Kind, b.Kind);
  EXPECT_EQ(a.ScriptName, b.ScriptName);
  EXPECT_EQ(a.Column, b.Column);
  EXPECT_EQ(a.Line, b.Line);
  EXPECT_EQ(a.Obj, b.Obj);
}

}  // namespace

TEST(MsgManager, AddVariantsFillOnlyTheirFields) {
  int anchor = 0;
  TDbObj* obj = FakeObj(anchor);
  TMsgManager m;
  m.Add("plain", mkWarning, obj);
  m.AddAt("at", "a.sql", 4, 7, mkError);
  m.AddFor("for", obj, 2, 9, mkError);
  ASSERT_EQ(m.Count(), 3);
  ExpectSame(*m.Items[0], TMsgData("plain", mkWarning, "", 0, 0, obj));
  ExpectSame(*m.Items[1], TMsgData("at", mkError, "a.sql", 4, 7, nullptr));
  ExpectSame(*m.Items[2], TMsgData("for", mkError, "", 2, 9, obj));
}

TEST(MsgManager, ErrorTextJoinsErrorsOnlyAndClearEmpties) {
  TMsgManager m;
  EXPECT_EQ(m.GetErrorText(), "");
  m.Add("w", mkWarning);
  EXPECT_FALSE(m.HasErrors());
  EXPECT_TRUE(m.HasKind(mkWarning));
  EXPECT_EQ(m.GetErrorText(), "");

  m.Add("a", mkError);
  m.Add("w2", mkWarning);
  m.AddAt("b", "x.sql", 1, 2, mkError);
  EXPECT_TRUE(m.HasErrors());
  EXPECT_EQ(m.GetErrorText(), "a\r\nb");

  m.Clear();
  EXPECT_EQ(m.Count(), 0);
  EXPECT_FALSE(m.HasKind(mkWarning));
  EXPECT_EQ(m.GetErrorText(), "");
}

TEST(MsgManager, AppendFromCopiesEveryFieldInOrder) {
  int anchor = 0;
  TMsgManager src;
  src.AddAt("first", "s.sql", 3, 5, mkError);
  src.AddFor("second", FakeObj(anchor), 6, 8, mkWarning);

  TMsgManager dst;
  dst.Add("own", mkWarning);
  dst.AppendFrom(&src);
  ASSERT_EQ(dst.Count(), 3);
  ExpectSame(*dst.Items[1], *src.Items[0]);
  ExpectSame(*dst.Items[2], *src.Items[1]);
  // Copies, not shared entries: the source can go away.
  EXPECT_NE(dst.Items[1].get(), src.Items[0].get());
  src.Clear();
  EXPECT_EQ(dst.Items[2]->Text, "second");
}

TEST(MsgManager, AppendFromNullEmptyAndSelf) {
  TMsgManager m;
  m.Add("a", mkError);
  m.AppendFrom(nullptr);
  TMsgManager empty;
  m.AppendFrom(&empty);
  EXPECT_EQ(m.Count(), 1);

  m.Add("b", mkWarning);
  m.AppendFrom(&m);  // duplicates once, no endless growth
  ASSERT_EQ(m.Count(), 4);
  EXPECT_EQ(m.Items[2]->Text, "a");
  EXPECT_EQ(m.Items[3]->Text, "b");
  EXPECT_EQ(m.GetErrorText(), "a\r\na");
}

TEST(ShowErrorText, GoesThroughReplaceableHandler) {
  std::string seen;
  TShowErrorTextHandler previous = SetShowErrorTextHandler([&seen](const std::string& t) { seen += t; });
  ShowErrorText("boom");
  EXPECT_EQ(seen, "boom");

  // A throwing handler is contained.
  SetShowErrorTextHandler([](const std::string&) { throw std::runtime_error("x"); });
  EXPECT_NO_THROW(ShowErrorText("again"));

  // An empty handler restores the default, which writes to standard error.
  SetShowErrorTextHandler(nullptr);
  testing::internal::CaptureStderr();
  ShowErrorText("to stderr");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");

  SetShowErrorTextHandler(previous);
}
