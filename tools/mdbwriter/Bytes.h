#pragma once

#include <QByteArray>
#include <cstring>

namespace qalvoro::mdbwriter {

// Little-endian stores into byte buffers; every multi-byte number in a Jet file
// is little-endian.
template <typename T>
void putLE(QByteArray& buf, qsizetype offset, T value) {
  auto bits = static_cast<quint64>(value);
  for (qsizetype i = 0; i < static_cast<qsizetype>(sizeof(T)); ++i) {
    buf[offset + i] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
}

template <typename T>
void appendLE(QByteArray& buf, T value) {
  const qsizetype at = buf.size();
  buf.resize(at + static_cast<qsizetype>(sizeof(T)));
  putLE(buf, at, value);
}

inline void appendDouble(QByteArray& buf, double value) {
  quint64 bits;
  std::memcpy(&bits, &value, sizeof bits);
  appendLE(buf, bits);
}

inline void appendFloat(QByteArray& buf, float value) {
  quint32 bits;
  std::memcpy(&bits, &value, sizeof bits);
  appendLE(buf, bits);
}

}  // namespace qalvoro::mdbwriter
