// The message text written after DATA, and the date, zone, boundary and line-end helpers it uses.
#include <algorithm>
#include <cmath>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/Thread.h"
#include "smtp/EmailMessage.h"

namespace {
const std::string kCRLF = "\r\n";

// Doubles the "." that begins any line before the final "." line (SMTP data transparency).
// text has CR LF line ends only and ends with CR LF and ".".
std::string DotStuffed(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 16);
  bool atLineStart = true;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (atLineStart && text[i] == '.') out += '.';
    out += text[i];
    atLineStart = text[i] == '\n';
  }
  out += '.';
  return out;
}
}  // namespace

std::string EmailMessage::_FormatBody() const {
  const struct {
    const std::string& text;
    const char* type;
  } bodies[] = {{BodyPlainText, "text/plain;"}, {BodyHTML, "text/html;"}, {BodyEnriched, "text/enriched;"}};
  const auto present = std::count_if(std::begin(bodies), std::end(bodies), [](const auto& b) { return !b.text.empty(); });

  std::string part, delimiter;
  if (present > 1) {
    const std::string boundary = _GenerateBoundary();
    part = "Content-Type: multipart/alternative; boundary=\"" + boundary + "\"";
    delimiter = "--" + boundary;
  }
  for (const auto& body : bodies) {
    if (body.text.empty()) continue;
    std::string type = body.type;
    if (!delimiter.empty())
      part += kCRLF + kCRLF + delimiter + kCRLF;
    else if (Headers.NameCount("Content-type") > 0)
      type = Headers.Value("Content-type");  // a single body takes the caller's own type
    part += "Content-type: " + type;
    if (Headers.NameCount("Content-transfer-encoding") == 0) part += kCRLF + "Content-transfer-encoding: 7bit";
    part += kCRLF + kCRLF + body.text;
  }
  if (!delimiter.empty()) part += kCRLF + kCRLF + delimiter + "--";
  return part;
}

std::string EmailMessage::Source() {
  const std::string part = _FormatBody();
  Headers.Delete("Content-Type");
  std::string text;
  if (Attachments.empty()) {
    // The part's own header lines become headers of the message; the rest is the body.
    const size_t split = part.find(kCRLF + kCRLF);
    const std::string partHeaders = fw::ReplaceAll(part.substr(0, split), kCRLF + " ", " ");
    const std::string body = split == std::string::npos ? std::string() : part.substr(split + 4);
    for (const std::string& line : fw::Split(partHeaders, kCRLF)) {
      if (line.empty()) continue;  // no body: no part header lines
      const int valueAt = fw::InStrB(line, ": ");
      Headers.SetHeader(fw::NthField(line, ":", 1), valueAt > 0 ? fw::MidB(line, valueAt + 2) : std::string());
      fw::YieldToNextThread();
    }
    text = Headers._FormatEmailHeaders() + kCRLF + kCRLF + body + kCRLF + ".";
  } else {
    const std::string boundary = _GenerateBoundary();
    const std::string delimiter = "--" + boundary;
    Headers.SetHeader("Content-Type", "multipart/mixed; boundary=\"" + boundary + "\"");
    Headers.SetHeader("Mime-Version", "1.0");
    text = Headers._FormatEmailHeaders() + kCRLF + kCRLF + delimiter + kCRLF + part + kCRLF;
    for (const EmailAttachment& attachment : Attachments) {
      text += kCRLF + kCRLF + delimiter + kCRLF + attachment._FormatAttachment();
      fw::YieldToNextThread();
    }
    text += kCRLF + kCRLF + delimiter + "--" + kCRLF + ".";
  }
  return DotStuffed(_ConvertEOLCharacter(text, kCRLF));
}

std::string EmailMessage::_GetEmailDateStr(std::optional<fw::Date> d) const {
  const fw::Date date = d ? *d : fw::Date();
  return fw::NthField("Sun,Mon,Tue,Wed,Thu,Fri,Sat", ",", date.DayOfWeek) + ", " + fw::Str(date.Day) + " " +
         fw::NthField("Jan,Feb,Mar,Apr,May,Jun,Jul,Aug,Sep,Oct,Nov,Dec", ",", date.Month) + " " + fw::Str(date.Year) +
         " " + fw::Format(date.Hour, "00") + ":" + fw::Format(date.Minute, "00") + ":" + fw::Format(date.Second, "00") +
         " " + _GetGMTOffset();
}

std::string EmailMessage::_GetGMTOffset() const {
  const double hours = fw::Date().GMTOffset;
  const int minutes = int(std::lround(std::fabs(hours) * 60));
  return (hours < 0 ? "-" : "+") + fw::Format(minutes / 60, "00") + fw::Format(minutes % 60, "00");
}

std::string EmailMessage::_GenerateBoundary() const {
  static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string boundary;
  for (int i = 0; i < 12; ++i) {
    // Clamped: a uniform draw can round up to 1.0.
    boundary += kAlphabet[std::min<size_t>(size_t(fw::Rnd() * 36), kAlphabet.size() - 1)];
    fw::YieldToNextThread();
  }
  return boundary;
}

std::string EmailMessage::_ConvertEOLCharacter(std::string_view s, std::string_view eol) const {
  const std::string lf = fw::ReplaceLineEndings(s, fw::EndOfLine::Unix);
  return eol == "\n" ? lf : fw::ReplaceAll(lf, "\n", eol);
}

std::string EmailMessage::_DetermineEOLCharacter(std::string_view s) const {
  return InternetHeaders::_DetermineEOLCharacter(s);
}
