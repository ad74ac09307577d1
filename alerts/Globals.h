#pragma once
// The caution alerts through which the main window reports problems and asks questions.
#include <string>

namespace fw {
class Window;
}

// Which button ended a caution alert; Cancel also stands for any other way it ended.
enum class CautionResult { Alternate = 0, Cancel = 1, Action = 2 };

// A modal caution alert over parent with one to three buttons: the action button always, the
// cancel button when count is over 1, the alternate button when it is over 2.
CautionResult gCautionDlg(int count, const std::string& alternateCaption, const std::string& cancelCaption,
                          const std::string& actionCaption, const std::string& message,
                          const std::string& explanation, fw::Window* parent);

// The same alert with the single button "OK".
void gCautionDlg1(const std::string& message, const std::string& explanation, fw::Window* parent);

// A text from outside the program (a server's reply) cut to a length an alert can show: at
// most kAlertTextChars characters, ending in "…" when it was cut.
inline constexpr int kAlertTextChars = 300;
std::string gAlertText(const std::string& text);
