#include "page/page_record.h"

#include <string.h>

#include "page/module_state.h"
#include "page/resources/resource_ids.h"
#include "page/screen_control_page.h"

const char pageTitle[] = "TV Out";

void fillPageRecord(PROPSHEETPAGEA* record) {
  memset(record, 0, sizeof(*record));
  record->dwSize = pageRecordSize;
  record->dwFlags = pageRecordFlags;
  record->hInstance = moduleInstance;
  record->pszTemplate = MAKEINTRESOURCEA(IDD_SCREEN_CONTROL);
  record->pszIcon = MAKEINTRESOURCEA(IDI_TV_OUT);
  record->pszTitle = pageTitle;
  record->pfnDlgProc = ScreenControlPage;
  record->lParam = 0;
  record->pfnCallback = nullptr;
  record->pcRefParent = &moduleObjectCount;
}
