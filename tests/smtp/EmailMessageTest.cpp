// The message object: header-backed sender, subject and address lists.
#include <gtest/gtest.h>

#include <regex>

#include "smtp/EmailMessage.h"

namespace {

TEST(EmailMessage, NewMessageIsEmpty) {
  EmailMessage m;
  EXPECT_EQ(m.ToAddress() + m.CCAddress() + m.BCCAddress() + m.Subject() + m.FromAddress() + m.RawSource(), "");
  EXPECT_EQ(m.Headers.Count(), 0);
  EXPECT_TRUE(m.Attachments.empty());
}

TEST(EmailMessage, AddressListsAreOneCommaFreeInstance) {
  EmailMessage m;
  m.AddRecipient("a@example.com");
  m.AddRecipient("Yamada, Taro <b@example.com>");
  EXPECT_EQ(m.ToAddress(), "a@example.com, Yamada Taro <b@example.com>");
  EXPECT_EQ(m.Headers.NameCount("To"), 1);

  m.Headers.AppendHeader("CC", "c1");  // appended directly: merged on the next add
  m.Headers.AppendHeader("CC", "c2");
  m.AddCCRecipient("c3");
  EXPECT_EQ(m.Headers.NameCount("CC"), 1);
  EXPECT_EQ(m.CCAddress(), "c1, c2, c3");

  m.AddBCCRecipient("hidden@example.com");
  EXPECT_EQ(m.BCCAddress(), "hidden@example.com");
  EXPECT_EQ(m.Headers.Value("BCC"), "hidden@example.com");
}

TEST(EmailMessage, EmptyAddresses) {
  EmailMessage first;
  first.AddRecipient("");
  EXPECT_EQ(first.Headers.NameCount("To"), 1);
  EXPECT_EQ(first.ToAddress(), "");

  EmailMessage later;
  later.AddRecipient("A");
  later.AddRecipient("");
  EXPECT_EQ(later.ToAddress(), "A, ");
}

TEST(EmailMessage, SubjectAndSenderKeepTheLastValue) {
  EmailMessage m;
  m.Subject("one");
  m.Subject("two");
  m.FromAddress("x@example.com");
  m.FromAddress("y@example.com");
  EXPECT_EQ(m.Subject(), "two");
  EXPECT_EQ(m.FromAddress(), "y@example.com");
  EXPECT_EQ(m.Headers.Count(), 2);
}

TEST(EmailMessage, MessageIdsAreUniqueAndNameTheSendersDomain) {
  EmailMessage m;
  m.FromAddress("info@example.com");
  const std::string id = m._GenerateMessageID();
  EXPECT_TRUE(std::regex_match(id, std::regex("<[0-9a-f]+\\.[0-9a-f]+@example\\.com>"))) << id;
  EXPECT_NE(m._GenerateMessageID(), id);
  m.FromAddress("nobody");  // no domain: the host name stands in
  EXPECT_TRUE(std::regex_match(m._GenerateMessageID(), std::regex("<[0-9a-f.]+@[A-Za-z0-9][A-Za-z0-9.-]*>")));
}

}  // namespace
