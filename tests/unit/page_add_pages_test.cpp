// AddPages and ReplacePage: the page record, the stand-in's page calls in
// order, the shell's callback accepting or refusing, and the module count
// that a page holds for as long as it lives.
#include <string.h>

#include <string>
#include <vector>

#include "page/screen_control_page.h"
#include "tests/unit/page_server_test_support.h"

using server_test::ServerTest;

namespace {

// The shell's add-page callback: records what it was given and answers
// as told.
struct AddPageCall {
  HPROPSHEETPAGE page;
  LPARAM lParam;
};
std::vector<AddPageCall> addPageCalls;
BOOL addPageAnswer = TRUE;

BOOL CALLBACK addPage(HPROPSHEETPAGE page, LPARAM lParam) {
  addPageCalls.push_back({page, lParam});
  return addPageAnswer;
}

class AddPagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    addPageCalls.clear();
    addPageAnswer = TRUE;
    ext = extension();
    host::clearJournal();
  }
  void TearDown() override {
    if (ext != nullptr) ext->Release();
    // What the sheet does at its end with the pages it took.
    for (const host::PropertySheetPage& page : host::propertySheetPages()) {
      if (page.live) host::destroyPageAsSheet(page.handle);
    }
    ServerTest::TearDown();
  }

  IShellPropSheetExt* ext = nullptr;
};

TEST_F(AddPagesTest, AcceptedPageGoesToTheSheetAndHoldsTheModule) {
  EXPECT_EQ(ext->AddPages(addPage, 0x1234), S_OK);
  ASSERT_EQ(host::propertySheetPages().size(), 1u);
  const host::PropertySheetPage& page = host::propertySheetPages()[0];
  ASSERT_EQ(addPageCalls.size(), 1u);
  EXPECT_EQ(addPageCalls[0].page, page.handle);
  EXPECT_TRUE(page.live) << "the sheet owns it now";
  EXPECT_EQ(host::journalCalls(),
            std::vector<std::string>({"CreatePropertySheetPageA(dwSize 40)"}));
  EXPECT_EQ(moduleObjectCount, 2u) << "the extension and the page";
}

TEST_F(AddPagesTest, RefusedPageIsDestroyedAtOnce) {
  addPageAnswer = FALSE;
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  ASSERT_EQ(host::propertySheetPages().size(), 1u);
  ASSERT_EQ(addPageCalls.size(), 1u);
  EXPECT_FALSE(host::propertySheetPages()[0].live);
  EXPECT_EQ(host::journalCalls(), std::vector<std::string>({"CreatePropertySheetPageA(dwSize 40)",
                                                            "DestroyPropertySheetPage(page 1)"}));
  EXPECT_EQ(moduleObjectCount, 1u);
}

TEST_F(AddPagesTest, PageThatCannotBeMadeIsNotOffered) {
  host::failPageCreation();
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  EXPECT_TRUE(addPageCalls.empty());
  EXPECT_TRUE(host::propertySheetPages().empty());
  EXPECT_EQ(host::journalCalls(),
            std::vector<std::string>({"CreatePropertySheetPageA(dwSize 40)"}));
  EXPECT_EQ(moduleObjectCount, 1u);
}

TEST_F(AddPagesTest, TheCallerLParamReachesTheCallbackUnchanged) {
  const LPARAM values[] = {0,
                           1,
                           -1,
                           0x7FFFFFFF,
                           static_cast<LPARAM>(0x80000000u),
                           reinterpret_cast<LPARAM>(&addPageCalls)};
  for (LPARAM value : values) {
    SCOPED_TRACE(value);
    addPageCalls.clear();
    addPageAnswer = FALSE;  // keep no page between rows
    EXPECT_EQ(ext->AddPages(addPage, value), S_OK);
    ASSERT_EQ(addPageCalls.size(), 1u);
    EXPECT_EQ(addPageCalls[0].lParam, value);
    EXPECT_EQ(host::propertySheetPages().back().record.lParam, 0) << "the record's own is 0";
  }
}

TEST_F(AddPagesTest, EveryCallMakesOneMorePage) {
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  ASSERT_EQ(addPageCalls.size(), 2u);
  EXPECT_NE(addPageCalls[0].page, addPageCalls[1].page);
  EXPECT_EQ(host::livePropertySheetPageCount(), 2u);
  EXPECT_EQ(moduleObjectCount, 3u);
}

TEST_F(AddPagesTest, RecordDescribesTheTvOutPage) {
  const HINSTANCE library = host::fakeModule(9);
  DllMain(library, DLL_PROCESS_ATTACH, nullptr);
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  moduleInstance = nullptr;
  ASSERT_EQ(host::propertySheetPages().size(), 1u);
  const PROPSHEETPAGEA& r = host::propertySheetPages()[0].record;
  EXPECT_EQ(r.dwSize, 40u);
  EXPECT_EQ(r.dwFlags, 0x6Cu);
  EXPECT_EQ(r.dwFlags,
            static_cast<DWORD>(PSP_USEICONID | PSP_USETITLE | PSP_HASHELP | PSP_USEREFPARENT));
  EXPECT_EQ(r.hInstance, library);
  EXPECT_EQ(r.pszTemplate, MAKEINTRESOURCEA(102));
  EXPECT_EQ(r.pszIcon, MAKEINTRESOURCEA(126));
  ASSERT_NE(r.pszTitle, nullptr);
  EXPECT_STREQ(r.pszTitle, "TV Out");
  EXPECT_EQ(r.pfnDlgProc, &ScreenControlPage);
  EXPECT_EQ(r.lParam, 0);
  EXPECT_EQ(r.pfnCallback, nullptr);
  EXPECT_EQ(r.pcRefParent, &moduleObjectCount);
}

// What the sheet does with the copied record: the page's dialog procedure
// gets it with WM_INITDIALOG and loads its bitmaps from the library.
TEST_F(AddPagesTest, PageMadeFromTheRecordLoadsItsBitmapsFromTheLibrary) {
  const HINSTANCE library = host::fakeModule(6);
  for (WORD id : {109, 121, 122, 123}) host::addBitmapResource(library, id);
  DllMain(library, DLL_PROCESS_ATTACH, nullptr);
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  moduleInstance = nullptr;
  ASSERT_EQ(host::propertySheetPages().size(), 1u);
  PROPSHEETPAGEA record = host::propertySheetPages()[0].record;

  HWND window = host::createWindow(host::fakeModule(8));
  EXPECT_EQ(record.pfnDlgProc(window, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&record)), 1);
  EXPECT_EQ(host::liveBitmapCount(), 4u);
  for (int button : {207, 208, 209, 210}) {
    const host::LoadedBitmap* bitmap = host::loadedBitmap(host::control(window, button).image);
    ASSERT_NE(bitmap, nullptr) << button;
    EXPECT_EQ(bitmap->module, library) << button;
  }
  record.pfnDlgProc(window, WM_DESTROY, 0, 0);
  EXPECT_EQ(host::liveBitmapCount(), 0u);
  EXPECT_TRUE(host::userInterfaceFaults().empty());
}

TEST_F(AddPagesTest, NeedsNoInitialize) {
  // The fixture's extension was never initialised; one that was behaves
  // the same.
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  IShellExtInit* second = nullptr;
  ASSERT_EQ(ext->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&second)), S_OK);
  EXPECT_EQ(second->Initialize(nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  second->Release();
  EXPECT_EQ(host::livePropertySheetPageCount(), 2u);
}

TEST_F(AddPagesTest, PageOutlivesItsExtensionAndKeepsTheLibraryLoaded) {
  EXPECT_EQ(ext->AddPages(addPage, 0), S_OK);
  EXPECT_EQ(ext->Release(), 0u);
  ext = nullptr;
  EXPECT_EQ(moduleObjectCount, 1u);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the page's dialog procedure lives in the library";
  host::destroyPageAsSheet(addPageCalls[0].page);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(AddPagesTest, ReplacePageFailsAndCallsNothing) {
  const UINT pageIds[] = {0, 1, 0xFFFFFFFFu};
  for (UINT id : pageIds) {
    EXPECT_EQ(ext->ReplacePage(id, addPage, 7), E_FAIL);
    EXPECT_EQ(ext->ReplacePage(id, nullptr, 0), E_FAIL);
  }
  EXPECT_TRUE(addPageCalls.empty());
  EXPECT_TRUE(host::journalCalls().empty());
  EXPECT_EQ(moduleObjectCount, 1u);
}

// The stand-in is as strict as Windows 95's COMCTL32: a record of another
// size makes no page, so a record filled with the SDK's sizeof fails here.
TEST_F(AddPagesTest, StandInRefusesARecordOfAnotherSize) {
  PROPSHEETPAGEA record;
  memset(&record, 0, sizeof record);
  record.dwFlags = PSP_USEREFPARENT;
  record.pcRefParent = &moduleObjectCount;
  const DWORD sizes[] = {0, 39, 41, 52};
  for (DWORD size : sizes) {
    record.dwSize = size;
    EXPECT_EQ(CreatePropertySheetPageA(&record), nullptr) << size;
  }
  EXPECT_EQ(moduleObjectCount, 1u);
}

}  // namespace
