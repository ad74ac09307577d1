// The mail and HTTP header blocks and the reading of a header block.
#include <gtest/gtest.h>

#include "smtp/EmailHeaders.h"

namespace {

TEST(HeaderText, EmptyCollectionGivesEmptyTexts) {
  EmailHeaders h;
  EXPECT_EQ(h._FormatEmailHeaders(), "");
  EXPECT_EQ(h._FormatHTTPHeaders(), "");
  EXPECT_EQ(h.Source(), "");
  h.AppendHeader("X-Mailer", "M");
  EXPECT_EQ(h._FormatEmailHeaders(), "X-Mailer: M");
}

TEST(HeaderText, ProgramMessageStartsWithDateSubjectFromTo) {
  EmailHeaders h;
  h.AppendHeader("From", "f@example.com");
  h.AppendHeader("Subject", "S");
  h.AppendHeader("X-Mailer", "M");
  h.AppendHeader("To", "t@example.com");
  h.AppendHeader("Date", "D");
  h.AppendHeader("Content-type", "text/plain;");
  h.AppendHeader("Content-transfer-encoding", "7bit");
  EXPECT_EQ(h._FormatEmailHeaders(),
            "Date: D\r\nSubject: S\r\nFrom: f@example.com\r\nTo: t@example.com\r\n"
            "X-Mailer: M\r\nContent-type: text/plain;\r\nContent-transfer-encoding: 7bit");
}

TEST(HeaderText, ALineBreakInAValueNeverStartsALine) {
  EmailHeaders h;
  h.AppendHeader("From", "f@example.com\nBcc: victim@example.com");
  h.AppendHeader("X-Mailer", "M\r\n\r\nbody\r");
  EXPECT_EQ(h._FormatEmailHeaders(), "From: f@example.com Bcc: victim@example.com\r\nX-Mailer: M  body ");
}

TEST(HeaderText, ALineTooLongForMailIsFoldedBeforeBlanks) {
  EmailHeaders h;
  std::string value, folded;
  for (int i = 0; i < 20; ++i) {
    const std::string word = "=?ISO-2022-JP?B?" + std::string(56, char('A' + i)) + "?=";
    value += word + " ";
    folded += (i ? "\r\n " : "") + word;
  }
  h.AppendHeader("Subject", value);
  h.AppendHeader("X-Fits", value.substr(0, 980));
  // One word a line, the closing blank kept; a line that fits stays as it is.
  EXPECT_EQ(h._FormatEmailHeaders(), "Subject: " + folded + " \r\nX-Fits: " + value.substr(0, 980));
}

TEST(HeaderText, FixedPartOrderAndExclusions) {
  EmailHeaders h;
  h.AppendHeader("Dates", "x");
  h.AppendHeader("Received", "R0");
  h.AppendHeader("date", "D0");
  h.AppendHeader("Date", "D1");  // a second instance: written nowhere
  h.AppendHeader("BCC", "hidden@example.com");
  h.AppendHeader("To", "A");
  h.AppendHeader("to", "B");
  h.AppendHeader("Reply-To", "r");
  h.AppendHeader("Return-Path", "P");
  h.AppendHeader("received", "R1");
  EXPECT_EQ(h._FormatEmailHeaders(),
            "Return-Path: P\r\nReceived: R0\r\nReceived: R1\r\nDate: D0\r\nTo: A, B\r\n"
            "Dates: x\r\nReply-To: r");
  // The HTTP form writes every instance, BCC included, in the collection's order.
  EXPECT_EQ(h._FormatHTTPHeaders(),
            "Dates: x\r\nReceived: R0\r\ndate: D0\r\nDate: D1\r\nBCC: hidden@example.com\r\nTo: A\r\n"
            "to: B\r\nReply-To: r\r\nReturn-Path: P\r\nreceived: R1");
}

TEST(HeaderText, ParseUnfoldsAndKeepsInstanceOrder) {
  EmailHeaders h;
  h.AppendHeader("Old", "gone");
  h._ParseHeaders(
      "Received: upper\r\nSubject: a\r\n b\r\nX-Tab: a\r\n\tb\r\nN:   V  \r\nno colon here\r\n"
      "RECEIVED: lower\r\n: empty name");
  EXPECT_EQ(h.NameCount("Old"), 0);
  EXPECT_EQ(h.Value("Subject"), "a b");
  EXPECT_EQ(h.Value("X-Tab"), "a b");
  EXPECT_EQ(h.Value("N"), "V  ");
  EXPECT_EQ(h.NameCount("Received"), 2) << "a name is one name whatever its letter case";
  EXPECT_EQ(h.Value("Received"), "upper");
  EXPECT_EQ(h.Value("Received", 1), "lower");
  EXPECT_EQ(h.Value(""), "empty name");
  EXPECT_EQ(h.Count(), 6);
}

TEST(HeaderText, ParseSplitsAtTheTextsOwnLineEnd) {
  EmailHeaders h;
  h._ParseHeaders("A: 1\nB: 2\n continued");
  EXPECT_EQ(h.Value("A"), "1");
  EXPECT_EQ(h.Value("B"), "2 continued");
  EXPECT_EQ(InternetHeaders::_DetermineEOLCharacter("a\nb\r\nc"), "\r\n");
  EXPECT_EQ(InternetHeaders::_DetermineEOLCharacter("a\nb\rc"), "\n");
  EXPECT_EQ(InternetHeaders::_DetermineEOLCharacter("a\rb"), "\r");
  EXPECT_EQ(InternetHeaders::_DetermineEOLCharacter("ab"), "\r\n");
}

TEST(HeaderText, SourceKeepsTheParsedTextAfterChanges) {
  EmailHeaders h;
  const std::string raw = "Subject:  x \r\nTo: y";
  h._ParseHeaders(raw);
  h.AppendHeader("X-Added", "z");
  EXPECT_EQ(h.Source(), raw);
  EXPECT_EQ(h._FormatHTTPHeaders(), "Subject: x \r\nTo: y\r\nX-Added: z");
  h._ParseHeaders("");
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.Source(), "");
}

}  // namespace
