#pragma once
// Files of a "Data" folder for the benchmarks that start the program.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <string>
#include <vector>

namespace bench {

inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// The settings file "smtp": the last slot number (20), then 21 length-prefixed texts, the
// given ones first.
inline QByteArray SettingsFile(const std::vector<std::string>& texts) {
  const int last = 20;
  QByteArray bytes;
  for (int shift : {24, 16, 8, 0}) bytes += char((last >> shift) & 0xFF);
  for (int i = 0; i <= last; ++i) {
    const std::string text = i < int(texts.size()) ? texts[size_t(i)] : "";
    bytes += char(text.size());
    bytes += QByteArray::fromStdString(text);
  }
  return bytes;
}

}  // namespace bench
