#include "drivertools/restore/confirmation_text.h"

#include <new>

#include "drivertools/shared/plain_text.h"

namespace {

const char textBefore[] = "Your current display driver is not ombrix driver but ";
const char textAfter[] = ", do you want to continue?";

}  // namespace

char* newConfirmationText(const char* currentDriver) {
  // Both parts' sizes count their zero; one zero is needed.
  const DWORD driverLength = textLength(currentDriver);
  const DWORD fixedSize = sizeof textBefore + sizeof textAfter - 1;
  if (driverLength > static_cast<DWORD>(-1) - fixedSize) return NULL;
  char* text = new (std::nothrow) char[fixedSize + driverLength];
  if (text == NULL) return NULL;
  appendText(appendText(appendText(text, textBefore), currentDriver), textAfter);
  return text;
}
