// The call journal: every stand-in call appends one record, with the data
// bytes where data is passed, so tests can compare whole call sequences.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace host {

struct JournalRecord {
  std::string call;                 // "RegOpenKeyExA(HKLM, \"System\", 0, KEY_READ)"
  std::vector<unsigned char> data;  // bytes passed with the call, if any
  uint64_t sequence;                // shared with the port trace, for ordering
};

// Appends a record and returns its sequence number.
uint64_t journal(const std::string& call, const void* data = nullptr, size_t length = 0);
const std::vector<JournalRecord>& journalRecords();
// Just the call texts, in order: what most tests compare.
std::vector<std::string> journalCalls();
// The calls whose text starts with prefix (for example "RegSetValueExA").
std::vector<std::string> journalCalls(const std::string& prefix);
void clearJournal();

// One counter orders journal records and port accesses against each other.
uint64_t nextSequence();

// Formatting helpers for call texts.
std::string quoted(const char* text);  // "\"text\"", or NULL
std::string hexByte(unsigned value);   // "0x3D"

}  // namespace host
