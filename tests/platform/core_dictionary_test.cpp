// Dictionary: insertion order, keys that ignore ASCII letter case, and Remove keeping the rest
// findable and in order.
#include <gtest/gtest.h>

#include "platform/core/Dictionary.h"

using fw::Dictionary;

namespace {
std::vector<std::string> Keys(const Dictionary& d) {
  std::vector<std::string> keys;
  for (int i = 0; i < d.Count(); ++i) keys.push_back(d.Key(i));
  return keys;
}
}  // namespace

TEST(CoreDictionary, NewIsEmptyAndAbsentKeysGiveEmptyValues) {
  Dictionary d;
  EXPECT_EQ(d.Count(), 0);
  EXPECT_FALSE(d.HasKey("Subject"));
  EXPECT_EQ(d.Value("Subject"), "");
  EXPECT_EQ(d.Key(0), "");
  EXPECT_EQ(d.Key(-1), "");
  d.Remove("Subject");  // nothing to remove
  EXPECT_EQ(d.Count(), 0);
}

TEST(CoreDictionary, KeepsInsertionOrderAndFirstSpelling) {
  Dictionary d;
  d.SetValue("To", "a@example.jp");
  d.SetValue("Subject", "件名");
  d.SetValue("From", "b@example.jp");
  d.SetValue("SUBJECT", "新しい件名");  // same key: value replaced, place and spelling kept
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"To", "Subject", "From"}));
  EXPECT_EQ(d.Value("subject"), "新しい件名");
  EXPECT_TRUE(d.HasKey("from"));
  EXPECT_TRUE(d.HasKey("FROM"));
  EXPECT_FALSE(d.HasKey("From "));
  EXPECT_EQ(d.Key(3), "");
}

TEST(CoreDictionary, RemoveKeepsTheOthersInOrderAndFindable) {
  Dictionary d;
  for (std::string k : {"a", "b", "c", "d", "e"}) d.SetValue(k, "v" + k);
  d.Remove("B");
  d.Remove("d");
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"a", "c", "e"}));
  EXPECT_EQ(d.Value("a"), "va");
  EXPECT_EQ(d.Value("c"), "vc");
  EXPECT_EQ(d.Value("E"), "ve");
  EXPECT_FALSE(d.HasKey("b"));
  // Setting a value after a removal updates the right entry.
  d.SetValue("e", "new");
  EXPECT_EQ(d.Value("e"), "new");
  EXPECT_EQ(d.Value("c"), "vc");
  // A removed key that comes back goes to the end.
  d.SetValue("B", "again");
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"a", "c", "e", "B"}));
  EXPECT_EQ(d.Value("b"), "again");
  // Removing the first and the last.
  d.Remove("a");
  d.Remove("b");
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"c", "e"}));
  EXPECT_EQ(d.Value("e"), "new");
}

TEST(CoreDictionary, ClearEmptiesAndAllowsReuse) {
  Dictionary d;
  d.SetValue("x", "1");
  d.SetValue("y", "2");
  d.Clear();
  EXPECT_EQ(d.Count(), 0);
  EXPECT_FALSE(d.HasKey("x"));
  d.SetValue("y", "3");
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"y"}));
  EXPECT_EQ(d.Value("Y"), "3");
}

TEST(CoreDictionary, JapaneseKeysAndEmptyKey) {
  Dictionary d;
  d.SetValue("件名", "1");
  d.SetValue("", "empty");
  EXPECT_EQ(d.Value("件名"), "1");
  EXPECT_TRUE(d.HasKey(""));
  EXPECT_EQ(d.Value(""), "empty");
  EXPECT_EQ(d.Count(), 2);
}
