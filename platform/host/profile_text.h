// The text of an initialisation file as the profile functions see it:
// lines ended by CR LF, LF or CR alone; each line trimmed; a trimmed line
// that begins with ';' is a comment, one in brackets names a section, one
// with '=' is a key. Names match without regard to the case of A-Z, and
// the first of a repeated section or key is the one that counts. Edits
// change only the lines they must and keep every other byte.
#pragma once

#include <string>
#include <vector>

namespace host {

// The value of the key as stored after '=' (trimmed), or false when the
// section or the key is missing.
bool findProfileValue(const std::string& text, const char* section, const char* key,
                      std::string* value);

// The key names of the section in file order, each once.
std::vector<std::string> profileKeyNames(const std::string& text, const char* section);

// The text after setting key to value: the key's line is replaced in
// place, a new key goes after the last line of its section, a new section
// at the end of the text. A null value removes the key, a null key the
// whole section. New lines end the way the text's first line does (CR LF
// for a text without one).
std::string withProfileValue(const std::string& text, const char* section, const char* key,
                             const char* value);

}  // namespace host
