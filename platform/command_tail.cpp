#include "platform/command_tail.h"

namespace {

const char quote = '"';

bool isBlankOrControl(char c) {
  const unsigned char code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

}  // namespace

const char* commandTail(const char* commandLine) {
  if (commandLine == nullptr) return "";
  const char* p = commandLine;
  if (*p == quote) {
    ++p;
    while (*p != '\0' && *p != quote) ++p;
    if (*p == quote) ++p;
  } else {
    while (*p != '\0' && !isBlankOrControl(*p)) ++p;
  }
  while (isBlankOrControl(*p)) ++p;
  return p;
}
