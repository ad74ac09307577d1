#pragma once
// The settings file "smtp": a big-endian number N, then the texts of slots 0 to N.
#include <span>
#include <string>
#include <string_view>

namespace fw {
class BinaryStream;
class FolderItem;
}  // namespace fw

// Fills the slots from the stream: texts beyond the last slot are skipped, and a file that ends
// early leaves the remaining slots as they were. True when the stream held exactly a count from
// 0 to the last slot's index and that many texts plus one, each whole: a file that can be
// written back without losing a byte.
bool ReadSettingsSlots(fw::BinaryStream& stream, std::span<std::string> texts);

// Writes the file anew: N = the last slot's index, then every slot's text (a text longer than
// 255 bytes cut between two UTF-8 characters), yielding once per text. The old file is replaced
// only by a whole new one. False when that failed, with the system's reason in reason.
bool WriteSettingsFile(const fw::FolderItem& file, std::span<const std::string> texts, std::string& reason);

// Keeps the bytes of a damaged settings file beside it as "<name>.damaged", or "<name>.damaged.2",
// ".3", ... when that name is taken: an earlier copy is never overwritten. The copy's name, or
// an empty text when none could be made.
std::string KeepDamagedCopy(const fw::FolderItem& file, std::string_view bytes);

// The port number in a settings text: digits only (full-width ones too), with blanks around
// them trimmed. An empty text or 0 gives 0, which the SMTP client takes as port 25; any other
// text that is not a number from 1 to 65535 gives -1, no port at all.
int PortNumber(const std::string& text);
