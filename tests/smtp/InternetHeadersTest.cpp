// Storage, counting and deletion of header instances.
#include <gtest/gtest.h>

#include "smtp/EmailHeaders.h"

namespace {

EmailHeaders ThreeReceived() {
  EmailHeaders h;
  for (const char* v : {"a", "b", "c"}) h.AppendHeader("Received", v);
  return h;
}

TEST(InternetHeaders, NewCollectionIsEmptyAndDeletesNothing) {
  EmailHeaders h;
  h.Delete("X");
  h.Delete("X", 0);
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.NameCount("X"), 0);
  EXPECT_EQ(h.Value("X"), "");
  EXPECT_EQ(h.CommaSeparatedValues("X"), "");
  EXPECT_EQ(h.Value(0), "");
  EXPECT_EQ(h.Value(-1), "");
}

TEST(InternetHeaders, InstancesAreNumberedStorageKeys) {
  EmailHeaders h = ThreeReceived();
  EXPECT_EQ(h.Count(), 3);
  EXPECT_EQ(h.NameCount("Received"), 3);
  // The storage keys themselves are "Received", "Received:1", "Received:2".
  EXPECT_EQ(h.Value("Received:1"), "b");
  EXPECT_EQ(h.Value("Received:2"), "c");
  EXPECT_EQ(h.Name(2), "Received");
  EXPECT_EQ(h.Value("Received", 2), "c");
  EXPECT_EQ(h.Value("Received", 3), "");
  EXPECT_EQ(h.Value(h.Count()), "");
  EXPECT_EQ(h.CommaSeparatedValues("Received"), "a, b, c");
  EXPECT_EQ(h.Value("Received", -4), "a");  // a negative index reads instance 0
}

TEST(InternetHeaders, DeleteByIndexRenumbersLaterInstances) {
  EmailHeaders first = ThreeReceived();
  first.Delete("Received", 0);
  EXPECT_EQ(first.CommaSeparatedValues("Received"), "b, c");
  EXPECT_EQ(first.Value("Received"), "b");
  EXPECT_EQ(first.Count(), 2);

  EmailHeaders middle = ThreeReceived();
  middle.Delete("Received", 1);
  EXPECT_EQ(middle.CommaSeparatedValues("Received"), "a, c");
  EXPECT_EQ(middle.Count(), 2);

  EmailHeaders negative = ThreeReceived();
  negative.Delete("Received", -1);  // never addresses instance 0
  EXPECT_EQ(negative.CommaSeparatedValues("Received"), "a, b, c");
}

TEST(InternetHeaders, SetHeaderKeepsExactlyOneInstance) {
  EmailHeaders h = ThreeReceived();
  h.SetHeader("Received", "x");
  EXPECT_EQ(h.Count(), 1);
  EXPECT_EQ(h.Value("Received"), "x");

  h.AppendHeader("Subject", "s");
  h.SetHeader("Received", "y");  // one instance: replaced in place
  EXPECT_EQ(h.Name(0), "Received");
  EXPECT_EQ(h.Value(0), "y");
  h.SetHeader("From", "f");  // absent: added
  EXPECT_EQ(h.NameCount("From"), 1);
}

TEST(InternetHeaders, SetHeaderByIndexAddsAndMayLeaveGaps) {
  EmailHeaders h;
  h.AppendHeader("Received", "a");
  h.SetHeader("Received", "b", 1);
  EXPECT_EQ(h.CommaSeparatedValues("Received"), "a, b");
  h.SetHeader("Received", "B", 1);
  EXPECT_EQ(h.Value("Received", 1), "B");

  h.SetHeader("Received", "d", 3);  // past the last: a gap the counting does not cross
  EXPECT_EQ(h.NameCount("Received"), 2);
  EXPECT_EQ(h.CommaSeparatedValues("Received"), "a, B");
  EXPECT_EQ(h.Value("Received", 3), "d");
  EXPECT_EQ(h.Count(), 3);

  h.SetHeader("Received", "n", -1);  // stored apart, not instance 0, not counted
  EXPECT_EQ(h.Value("Received"), "a");
  EXPECT_EQ(h.NameCount("Received"), 2);
  EXPECT_EQ(h.Count(), 4);

  EmailHeaders deleted = ThreeReceived();
  deleted.Delete("Received");
  deleted.SetHeader("Received", "x", 2);  // not the first instance: none is counted
  EXPECT_EQ(deleted.NameCount("Received"), 0);
  deleted.AppendHeader("Received", "y");
  EXPECT_EQ(deleted.NameCount("Received"), 1);
}

TEST(InternetHeaders, EmptyValuesAndNamesAreInstances) {
  EmailHeaders h;
  for (const char* v : {"a", "", "c"}) h.AppendHeader("To", v);
  EXPECT_EQ(h.CommaSeparatedValues("To"), "a, , c");
  h.AppendHeader("", "x");
  h.AppendHeader("", "y");
  EXPECT_EQ(h.NameCount(""), 2);
  EXPECT_EQ(h.CommaSeparatedValues(""), "x, y");
}

TEST(InternetHeaders, NamesMatchWhateverTheirLetterCase) {
  EmailHeaders h;
  h.AppendHeader("Received", "a");
  h.AppendHeader("RECEIVED", "b");
  EXPECT_EQ(h.NameCount("received"), 2);
  h.SetHeader("content-TYPE", "t");
  h.SetHeader("Content-Type", "u");
  EXPECT_EQ(h.NameCount("Content-type"), 1);
  EXPECT_EQ(h.Value("CONTENT-TYPE"), "u");
  h.Delete("rEcEiVeD");
  EXPECT_EQ(h.Count(), 1);
}

TEST(InternetHeaders, DeleteAllHeadersKeepsTheParsedText) {
  EmailHeaders h;
  h._ParseHeaders("A: 1\r\nB: 2");
  h.DeleteAllHeaders();
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.Source(), "A: 1\r\nB: 2");
}

TEST(InternetHeaders, ThousandInstancesOfOneName) {
  EmailHeaders h;
  for (int i = 0; i < 1000; ++i) h.AppendHeader("Received", "v" + std::to_string(i));
  EXPECT_EQ(h.NameCount("Received"), 1000);
  EXPECT_EQ(h.Value("Received", 999), "v999");
  EXPECT_EQ(h.CommaSeparatedValues("Received").size(), 3890u + 999 * 2);
  h.Delete("Received", 0);
  EXPECT_EQ(h.NameCount("Received"), 999);
  EXPECT_EQ(h.Value("Received"), "v1");
  EXPECT_EQ(h.Value("Received", 998), "v999");
  EXPECT_EQ(h._FormatEmailHeaders().substr(0, 24), "Received: v1\r\nReceived: ");
  h.Delete("Received");
  EXPECT_EQ(h.Count(), 0);
  // Reading a header block replaces every instance: counting starts afresh.
  h.AppendHeader("Received", "old");
  h._ParseHeaders("Received: x\r\nReceived: y");
  h.AppendHeader("Received", "z");
  EXPECT_EQ(h.CommaSeparatedValues("Received"), "x, y, z");
}

}  // namespace
