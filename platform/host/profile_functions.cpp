// The stand-in's profile-string functions over real files. Each call
// appends one journal record with its arguments and result.
#include <string.h>

#include <string>
#include <vector>

#include "platform/host/journal.h"
#include "platform/host/profile_standin.h"
#include "platform/host/profile_text.h"
#include "platform/win32.h"

namespace {

// A missing or unreadable file reads as empty.
std::string fileText(LPCSTR fileName) {
  std::string text;
  if (fileName != nullptr) host::readProfileFile(fileName, &text);
  return text;
}

// The value as returned: up to any zero byte in the file, and without a
// matching pair of quotes around it.
std::string returnedValue(std::string value) {
  size_t zero = value.find('\0');
  if (zero != std::string::npos) value.resize(zero);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// The default loses its trailing blanks.
std::string defaultText(LPCSTR defaultValue) {
  std::string text = defaultValue == nullptr ? "" : defaultValue;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Copies at most size - 1 characters and a zero; returns those copied.
DWORD copyValue(const std::string& value, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  size_t count = value.size() < size - 1 ? value.size() : size - 1;
  memcpy(buffer, value.data(), count);
  buffer[count] = '\0';
  return static_cast<DWORD>(count);
}

// Each name with its zero and one more zero at the end. A list that does
// not fit is cut, ends in two zeros, and the result is size - 2.
DWORD copyNameList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  std::string list;
  for (const std::string& name : names) list += name + std::string(1, '\0');
  if (list.size() + 1 <= size) {
    memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size >= 2) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string quotedText(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

UINT WINAPI GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  std::string value;
  UINT result = static_cast<UINT>(defaultValue);
  if (section != nullptr && key != nullptr &&
      host::findProfileValue(fileText(fileName), section, key, &value)) {
    // Only the digits the value begins with count; a value that begins with
    // anything else, a sign included, is 0.
    value = returnedValue(value);
    result = 0;
    for (size_t i = 0; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
      result = result * 10 + static_cast<UINT>(value[i] - '0');
    }
  }
  host::journal("GetPrivateProfileIntA(" + host::quoted(section) + ", " + host::quoted(key) + ", " +
                std::to_string(defaultValue) + ", " + host::quoted(fileName) +
                ") = " + std::to_string(static_cast<INT>(result)));
  return result;
}

DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                      DWORD size, LPCSTR fileName) {
  std::string text = fileText(fileName);
  DWORD copied = 0;
  std::string shown;
  if (section == nullptr) {
    copied = copyValue("", buffer, size);
  } else if (key == nullptr) {
    copied = copyNameList(host::profileKeyNames(text, section), buffer, size);
    if (buffer != nullptr) {
      for (DWORD i = 0; i < copied; ++i)
        shown += buffer[i] == '\0' ? std::string("\\0") : std::string(1, buffer[i]);
    }
  } else {
    std::string value;
    if (host::findProfileValue(text, section, key, &value)) {
      value = returnedValue(value);
    } else {
      value = defaultText(defaultValue);
    }
    copied = copyValue(value, buffer, size);
    if (buffer != nullptr && size > 0) shown = buffer;
  }
  host::journal("GetPrivateProfileStringA(" + host::quoted(section) + ", " + host::quoted(key) +
                ", " + host::quoted(defaultValue) + ", " + (buffer == nullptr ? "NULL" : "buffer") +
                ", " + std::to_string(size) + ", " + host::quoted(fileName) +
                ") = " + std::to_string(copied) + " " + quotedText(shown));
  return copied;
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  BOOL written = FALSE;
  if (section != nullptr && fileName != nullptr) {
    std::string before;
    host::readProfileFile(fileName, &before);
    std::string after = host::withProfileValue(before, section, key, value);
    if (after == before) {
      written = TRUE;
    } else {
      host::writeProfileFile(fileName, after);
      std::string check;
      written = host::readProfileFile(fileName, &check) && check == after ? TRUE : FALSE;
    }
  }
  host::journal("WritePrivateProfileStringA(" + host::quoted(section) + ", " + host::quoted(key) +
                ", " + host::quoted(value) + ", " + host::quoted(fileName) +
                ") = " + (written ? "TRUE" : "FALSE"));
  return written;
}
