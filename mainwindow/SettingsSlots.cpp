#include "mainwindow/SettingsSlots.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/core/BinaryStream.h"
#include "platform/core/Strings.h"
#include "platform/core/Thread.h"

void ReadSettingsSlots(fw::BinaryStream& stream, std::span<std::string> texts) {
  const int32_t last = stream.ReadLong();
  for (int32_t i = 0; i <= last && i < int32_t(texts.size()) && !stream.IsEOF(); ++i) {
    texts[size_t(i)] = stream.ReadPString();
    fw::YieldToNextThread();
  }
}

int PortNumber(const std::string& text) {
  double value = std::trunc(fw::Val(text));
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int>(value);
}
