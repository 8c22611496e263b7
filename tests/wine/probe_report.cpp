#include "tests/wine/probe_report.h"

#include "platform/win32.h"

namespace {

int passedCount = 0;
int failedCount = 0;
bool silenced = false;

void appendChar(ReportLine& line, char c) {
  if (line.length < ReportLine::capacity) line.text[line.length++] = c;
  line.text[line.length] = '\0';
}

void appendHexByte(ReportLine& line, unsigned char value) {
  const char digits[] = "0123456789abcdef";
  appendText(line, "\\x");
  appendChar(line, digits[value >> 4]);
  appendChar(line, digits[value & 0x0F]);
}

}  // namespace

void startLine(ReportLine& line, const char* text) {
  line.length = 0;
  line.text[0] = '\0';
  appendText(line, text);
}

void appendText(ReportLine& line, const char* text) {
  while (*text != '\0') appendChar(line, *text++);
}

void appendNumber(ReportLine& line, unsigned long number) {
  char digits[16];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  while (count > 0) appendChar(line, digits[--count]);
}

void appendVisible(ReportLine& line, const char* text) {
  appendChar(line, '[');
  for (; *text != '\0'; ++text) {
    const unsigned char code = static_cast<unsigned char>(*text);
    if (code == '\t') {
      appendText(line, "\\t");
    } else if (code == '\\') {
      appendText(line, "\\\\");
    } else if (code < ' ' || code >= 0x7F) {
      appendHexByte(line, code);
    } else {
      appendChar(line, *text);
    }
  }
  appendChar(line, ']');
}

void silenceReport() { silenced = true; }

void writeReportLine(const char* text) {
  if (silenced) return;
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  DWORD length = lstrlenA(text);
  DWORD written = 0;
  WriteFile(output, text, length, &written, nullptr);
  WriteFile(output, "\n", 1, &written, nullptr);
}

void writeReportLine(const ReportLine& line) { writeReportLine(line.text); }

void reportCheck(bool passed, const char* what, const char* detail) {
  ReportLine line;
  startLine(line, passed ? "PASS " : "FAIL ");
  appendText(line, what);
  if (detail != nullptr) {
    appendText(line, ": ");
    appendText(line, detail);
  }
  writeReportLine(line);
  if (passed) {
    ++passedCount;
  } else {
    ++failedCount;
  }
}

int passedChecks() { return passedCount; }
int failedChecks() { return failedCount; }
