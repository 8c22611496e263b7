#include "platform/host/journal.h"

#include <stdio.h>

namespace host {

namespace {

std::vector<JournalRecord>& records() {
  static std::vector<JournalRecord> all;
  return all;
}

uint64_t sequenceCounter = 0;

}  // namespace

uint64_t nextSequence() { return ++sequenceCounter; }

uint64_t journal(const std::string& call, const void* data, size_t length) {
  JournalRecord record;
  record.call = call;
  if (data != nullptr) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    record.data.assign(bytes, bytes + length);
  }
  record.sequence = nextSequence();
  records().push_back(record);
  return record.sequence;
}

const std::vector<JournalRecord>& journalRecords() { return records(); }

std::vector<std::string> journalCalls() { return journalCalls(""); }

std::vector<std::string> journalCalls(const std::string& prefix) {
  std::vector<std::string> calls;
  for (const JournalRecord& record : records()) {
    if (record.call.compare(0, prefix.size(), prefix) == 0) calls.push_back(record.call);
  }
  return calls;
}

void clearJournal() { records().clear(); }

std::string quoted(const char* text) {
  if (text == nullptr) return "NULL";
  return std::string("\"") + text + "\"";
}

std::string hexByte(unsigned value) {
  char buffer[8];
  snprintf(buffer, sizeof buffer, "0x%02X", value & 0xFF);
  return buffer;
}

}  // namespace host
