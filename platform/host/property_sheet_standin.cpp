#include "platform/host/property_sheet_standin.h"

#include "platform/host/journal.h"

namespace host {

namespace {

struct State {
  std::vector<PropertySheetPage> pages;
  bool failNext = false;
  std::vector<std::string> faults;
};

State& state() {
  static State s;
  return s;
}

// Handles are numbered from 1, so that null stays "no page".
HPROPSHEETPAGE handleFor(size_t index) {
  return reinterpret_cast<HPROPSHEETPAGE>(static_cast<uintptr_t>(index + 1) * 0x10);
}

PropertySheetPage* find(HPROPSHEETPAGE handle) {
  for (PropertySheetPage& page : state().pages) {
    if (page.handle == handle) return &page;
  }
  return nullptr;
}

bool countsParent(const PROPSHEETPAGEA& record) {
  return (record.dwFlags & PSP_USEREFPARENT) != 0 && record.pcRefParent != nullptr;
}

std::string describePage(HPROPSHEETPAGE handle) {
  return "page " + std::to_string(reinterpret_cast<uintptr_t>(handle) / 0x10);
}

}  // namespace

const std::vector<PropertySheetPage>& propertySheetPages() { return state().pages; }

const PropertySheetPage* propertySheetPage(HPROPSHEETPAGE handle) { return find(handle); }

size_t livePropertySheetPageCount() {
  size_t count = 0;
  for (const PropertySheetPage& page : state().pages) count += page.live ? 1 : 0;
  return count;
}

void failPageCreation() { state().failNext = true; }

void destroyPageAsSheet(HPROPSHEETPAGE handle) { DestroyPropertySheetPage(handle); }

const std::vector<std::string>& propertySheetFaults() { return state().faults; }

void resetPropertySheets() { state() = State(); }

}  // namespace host

using host::journal;
using host::state;

HPROPSHEETPAGE WINAPI CreatePropertySheetPageA(LPCPROPSHEETPAGEA record) {
  if (record == nullptr) {
    journal("CreatePropertySheetPageA(NULL)");
    return nullptr;
  }
  journal("CreatePropertySheetPageA(dwSize " + std::to_string(record->dwSize) + ")");
  const bool fail = state().failNext;
  state().failNext = false;
  if (fail || record->dwSize != host::firstFormPageRecordSize) return nullptr;

  host::PropertySheetPage page;
  page.handle = host::handleFor(state().pages.size());
  page.record = *record;
  page.live = true;
  state().pages.push_back(page);
  if (host::countsParent(page.record)) ++*page.record.pcRefParent;
  return page.handle;
}

BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE handle) {
  journal("DestroyPropertySheetPage(" + host::describePage(handle) + ")");
  host::PropertySheetPage* page = host::find(handle);
  if (page == nullptr || !page->live) {
    state().faults.push_back("DestroyPropertySheetPage of a " +
                             std::string(page == nullptr ? "page never made" : "dead page"));
    return FALSE;
  }
  page->live = false;
  if (host::countsParent(page->record)) --*page->record.pcRefParent;
  return TRUE;
}
