// The property-sheet page part of the stand-in, as tests see it:
// CreatePropertySheetPageA copies the record and, with PSP_USEREFPARENT,
// raises *pcRefParent as the property-sheet manager does; destroying the
// page lowers it again. Like Windows 95's COMCTL32, it makes no page from
// a record whose dwSize is not the first form's 40 bytes.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "platform/host/win32_host.h"

namespace host {

// The size of the record COMCTL32 4.00 accepts.
const DWORD firstFormPageRecordSize = 40;

struct PropertySheetPage {
  HPROPSHEETPAGE handle;
  PROPSHEETPAGEA record;  // the copy made at creation
  bool live;
};

// Every page made so far, live or destroyed, in the order they were made.
const std::vector<PropertySheetPage>& propertySheetPages();
// The page behind a handle, or null.
const PropertySheetPage* propertySheetPage(HPROPSHEETPAGE handle);
size_t livePropertySheetPageCount();
// The next CreatePropertySheetPageA makes no page and gives null.
void failPageCreation();
// Destroys a page the way a sheet that took it does at its end.
void destroyPageAsSheet(HPROPSHEETPAGE handle);
// Misuse the stand-in caught: a page destroyed twice or never made.
const std::vector<std::string>& propertySheetFaults();

void resetPropertySheets();

}  // namespace host
