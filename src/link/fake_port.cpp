#include "link/fake_port.h"

namespace zarvek::link {

bool TFakePort::Open(const std::string& name, const TLineSettings& settings, std::string& error) {
  if (failOpen) {
    error = "nicht vorhanden";
    return false;
  }
  openedName = name;
  openedSettings = settings;
  ++openCount;
  m_open = true;
  return true;
}

void TFakePort::Write(const std::string& data) {
  if (!m_open) return;
  writes.push_back(data);
  m_written += data;
  if (writtenLog) *writtenLog += data;
}

void TFakePort::Inject(const std::string& data) {
  if (m_open && onData) onData(data);
}

void TFakePort::Lose(const std::string& why) {
  if (!m_open) return;
  m_open = false;
  if (onLost) onLost(why);
}

std::string TFakePort::TakeWritten() {
  std::string w;
  w.swap(m_written);
  return w;
}

}  // namespace zarvek::link
