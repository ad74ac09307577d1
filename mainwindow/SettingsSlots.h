#pragma once
// Reading the settings file "smtp": a big-endian number N, then the texts of slots 0 to N.
#include <span>
#include <string>

namespace fw {
class BinaryStream;
}

// Fills the slots from the stream: texts beyond the last slot are skipped, and a file that ends
// early leaves the remaining slots as they were.
void ReadSettingsSlots(fw::BinaryStream& stream, std::span<std::string> texts);

// The port number in a settings text: the leading number cut to an integer. A text without a
// number, or one beyond the 32-bit range, gives 0, which the SMTP client takes as port 25.
int PortNumber(const std::string& text);
