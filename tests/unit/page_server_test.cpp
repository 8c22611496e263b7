// The in-process server: DllGetClassObject, DllCanUnloadNow and DllMain,
// the class factory and the two faces of the extension, their reference
// counts and the module count that keeps the library loaded.
#include <new>
#include <string>
#include <vector>

#include "page/module_state.h"
#include "tests/unit/page_server_test_support.h"

using server_test::allIids;
using server_test::IID_Unknown;
using server_test::NamedIid;
using server_test::poison;
using server_test::ServerTest;

namespace server_test {

namespace {
bool failAllocation = false;
}

void failNextAllocation() { failAllocation = true; }

}  // namespace server_test

// The product allocates only through the nothrow form; everything else in
// the test program keeps the ordinary allocator.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  if (server_test::failAllocation) {
    server_test::failAllocation = false;
    return nullptr;
  }
  return ::operator new(size);
}

namespace {

// CLSID_PageExtension with one byte changed, for every byte: a comparison
// that skips any byte lets one of these through.
std::vector<CLSID> nearMisses() {
  std::vector<CLSID> misses;
  for (unsigned i = 0; i < sizeof(CLSID); ++i) {
    CLSID miss = CLSID_PageExtension;
    reinterpret_cast<BYTE*>(&miss)[i] ^= 0x01;
    misses.push_back(miss);
  }
  misses.push_back(IID_IClassFactory);
  return misses;
}

// --- DllGetClassObject ------------------------------------------------------

TEST_F(ServerTest, ForeignClassIsNotAvailableWhateverTheInterface) {
  for (const CLSID& foreign : nearMisses()) {
    for (const NamedIid& row : allIids) {
      SCOPED_TRACE(row.name);
      void* out = poison();
      EXPECT_EQ(DllGetClassObject(foreign, *row.iid, &out), CLASS_E_CLASSNOTAVAILABLE);
      EXPECT_EQ(out, nullptr);
      EXPECT_EQ(moduleObjectCount, 0u);
    }
  }
}

struct ClassObjectCase {
  const char* name;
  const IID* iid;
  HRESULT result;
  UINT countAfter;  // moduleObjectCount once the call returned
};

const ClassObjectCase classObjectCases[] = {
    {"IUnknown", &IID_IUnknown, S_OK, 1},
    {"IClassFactory", &IID_IClassFactory, S_OK, 1},
    {"IShellExtInit", &IID_IShellExtInit, E_NOINTERFACE, 0},
    {"IShellPropSheetExt", &IID_IShellPropSheetExt, E_NOINTERFACE, 0},
    {"unknown", &IID_Unknown, E_NOINTERFACE, 0},
};

TEST_F(ServerTest, OwnClassGivesAFactoryOnlyForItsInterfaces) {
  for (const ClassObjectCase& row : classObjectCases) {
    SCOPED_TRACE(row.name);
    void* out = poison();
    EXPECT_EQ(DllGetClassObject(CLSID_PageExtension, *row.iid, &out), row.result);
    EXPECT_EQ(moduleObjectCount, row.countAfter);
    if (row.result != S_OK) {
      EXPECT_EQ(out, nullptr);
      continue;
    }
    ASSERT_NE(out, nullptr);
    ASSERT_NE(out, poison());
    // The caller holds the only reference.
    IClassFactory* factory = static_cast<IClassFactory*>(out);
    EXPECT_EQ(factory->AddRef(), 2u);
    EXPECT_EQ(factory->Release(), 1u);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(moduleObjectCount, 0u);
  }
}

TEST_F(ServerTest, EachCallMakesItsOwnFactory) {
  IClassFactory* first = factory();
  IClassFactory* second = factory();
  EXPECT_NE(first, second);
  EXPECT_EQ(moduleObjectCount, 2u);
  EXPECT_EQ(first->Release(), 0u);
  EXPECT_EQ(moduleObjectCount, 1u);
  EXPECT_EQ(second->Release(), 0u);
}

// --- The factory -------------------------------------------------------------

TEST_F(ServerTest, FactoryAnswersItsOwnInterfacesOnly) {
  IClassFactory* f = factory();
  for (const NamedIid& row : allIids) {
    SCOPED_TRACE(row.name);
    const bool served = row.iid == &IID_IUnknown || row.iid == &IID_IClassFactory;
    void* out = poison();
    EXPECT_EQ(f->QueryInterface(*row.iid, &out), served ? S_OK : E_NOINTERFACE);
    EXPECT_EQ(out, served ? static_cast<void*>(f) : nullptr);
    EXPECT_EQ(moduleObjectCount, 1u);
    if (served) {
      EXPECT_EQ(f->Release(), 1u) << "the query added one reference";
    }
  }
  EXPECT_EQ(f->Release(), 0u);
}

struct InstanceCase {
  const char* name;
  const IID* iid;
  HRESULT result;
  int face;  // 1 or 2 for the face handed out, 0 for none
};

const InstanceCase instanceCases[] = {
    {"IUnknown", &IID_IUnknown, S_OK, 1},
    {"IShellPropSheetExt", &IID_IShellPropSheetExt, S_OK, 1},
    {"IShellExtInit", &IID_IShellExtInit, S_OK, 2},
    {"IClassFactory", &IID_IClassFactory, E_NOINTERFACE, 0},
    {"unknown", &IID_Unknown, E_NOINTERFACE, 0},
};

TEST_F(ServerTest, CreateInstanceHandsOutTheAskedFaceOrNothing) {
  IClassFactory* f = factory();
  for (const InstanceCase& row : instanceCases) {
    SCOPED_TRACE(row.name);
    void* out = poison();
    EXPECT_EQ(f->CreateInstance(nullptr, *row.iid, &out), row.result);
    if (row.face == 0) {
      EXPECT_EQ(out, nullptr);
      EXPECT_EQ(moduleObjectCount, 1u) << "the extension made for the request is gone";
      continue;
    }
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(moduleObjectCount, 2u);
    // Whichever face came out, the identity is the first face.
    IUnknown* face = row.face == 1 ? static_cast<IUnknown*>(static_cast<IShellPropSheetExt*>(out))
                                   : static_cast<IUnknown*>(static_cast<IShellExtInit*>(out));
    void* identity = nullptr;
    ASSERT_EQ(face->QueryInterface(IID_IUnknown, &identity), S_OK);
    EXPECT_EQ(identity == out, row.face == 1);
    static_cast<IUnknown*>(identity)->Release();
    EXPECT_EQ(face->Release(), 0u) << "the caller held the only reference";
    EXPECT_EQ(moduleObjectCount, 1u);
  }
  f->Release();
}

TEST_F(ServerTest, AggregationIsRefusedAndMakesNothing) {
  IClassFactory* f = factory();
  IUnknown* outer = f;  // any non-null outer object
  for (const NamedIid& row : allIids) {
    SCOPED_TRACE(row.name);
    void* out = poison();
    EXPECT_EQ(f->CreateInstance(outer, *row.iid, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(moduleObjectCount, 1u);
  }
  f->Release();
}

TEST_F(ServerTest, LockServerIsNotImplementedAndKeepsNothingLoaded) {
  IClassFactory* f = factory();
  EXPECT_EQ(f->LockServer(TRUE), E_NOTIMPL);
  EXPECT_EQ(f->LockServer(FALSE), E_NOTIMPL);
  EXPECT_EQ(f->LockServer(TRUE), E_NOTIMPL);
  EXPECT_EQ(moduleObjectCount, 1u);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  f->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_OK) << "a lock does not keep the library loaded";
}

// --- The extension's two faces ----------------------------------------------

TEST_F(ServerTest, BothFacesGiveTheSameAnswers) {
  IShellPropSheetExt* first = extension();
  void* second = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IShellExtInit, &second), S_OK);
  EXPECT_NE(second, static_cast<void*>(first));
  IUnknown* faces[] = {first, static_cast<IShellExtInit*>(second)};

  for (IUnknown* face : faces) {
    for (const NamedIid& row : allIids) {
      SCOPED_TRACE(std::string(face == first ? "first" : "second") + " face, " + row.name);
      void* expected = nullptr;
      if (row.iid == &IID_IUnknown || row.iid == &IID_IShellPropSheetExt) expected = first;
      if (row.iid == &IID_IShellExtInit) expected = second;
      void* out = poison();
      EXPECT_EQ(face->QueryInterface(*row.iid, &out), expected ? S_OK : E_NOINTERFACE);
      EXPECT_EQ(out, expected);
      if (expected != nullptr) static_cast<IUnknown*>(out)->Release();
    }
  }
  EXPECT_EQ(faces[1]->Release(), 1u);
  EXPECT_EQ(first->Release(), 0u);
}

TEST_F(ServerTest, BothFacesCountOnOneCount) {
  IShellPropSheetExt* first = extension();
  void* out = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IShellExtInit, &out), S_OK);
  IShellExtInit* second = static_cast<IShellExtInit*>(out);
  EXPECT_EQ(first->AddRef(), 3u);
  EXPECT_EQ(second->Release(), 2u) << "added through one face, released through the other";
  EXPECT_EQ(second->AddRef(), 3u);
  EXPECT_EQ(first->Release(), 2u);
  EXPECT_EQ(second->Release(), 1u);
  EXPECT_EQ(moduleObjectCount, 1u);
  EXPECT_EQ(first->Release(), 0u) << "the last Release, through either face, destroys";
  EXPECT_EQ(moduleObjectCount, 0u);
}

TEST_F(ServerTest, TheLastReleaseThroughTheSecondFaceDestroys) {
  IShellExtInit* second = secondFace(extension());
  EXPECT_EQ(moduleObjectCount, 1u);
  EXPECT_EQ(second->Release(), 0u);
  EXPECT_EQ(moduleObjectCount, 0u);
}

TEST_F(ServerTest, InitializeAcceptsNullsAndKeepsNothing) {
  IShellExtInit* second = secondFace(extension());
  EXPECT_EQ(second->Initialize(nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(second->Initialize(nullptr, nullptr, HKEY_CLASSES_ROOT), S_OK);
  EXPECT_TRUE(host::journalCalls().empty()) << "Initialize calls nothing";
  EXPECT_EQ(second->AddRef(), 2u) << "Initialize took no reference";
  second->Release();
  EXPECT_EQ(second->Release(), 0u);
}

// --- DllCanUnloadNow ----------------------------------------------------------

TEST_F(ServerTest, UnloadIsAllowedOnlyWhenNoFactoryOrExtensionLives) {
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  IClassFactory* f = factory();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a factory lives";
  void* out = nullptr;
  ASSERT_EQ(f->CreateInstance(nullptr, IID_IShellPropSheetExt, &out), S_OK);
  EXPECT_EQ(f->Release(), 0u);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "an extension outlives its factory";
  IShellPropSheetExt* e = static_cast<IShellPropSheetExt*>(out);
  e->AddRef();
  e->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "objects count, not references";
  EXPECT_EQ(e->Release(), 0u);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

// --- Out of memory -----------------------------------------------------------

TEST_F(ServerTest, NoMemoryForTheFactory) {
  server_test::failNextAllocation();
  void* out = poison();
  EXPECT_EQ(DllGetClassObject(CLSID_PageExtension, IID_IClassFactory, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(moduleObjectCount, 0u);
}

TEST_F(ServerTest, NoMemoryForTheExtension) {
  IClassFactory* f = factory();
  server_test::failNextAllocation();
  void* out = poison();
  EXPECT_EQ(f->CreateInstance(nullptr, IID_IShellPropSheetExt, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(moduleObjectCount, 1u);
  f->Release();
}

// --- A null out-pointer is answered, not written through ----------------------

TEST_F(ServerTest, NullOutPointerIsRefusedEverywhere) {
  EXPECT_EQ(DllGetClassObject(CLSID_PageExtension, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(DllGetClassObject(IID_IClassFactory, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(moduleObjectCount, 0u);

  IClassFactory* f = factory();
  EXPECT_EQ(f->QueryInterface(IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(f->CreateInstance(nullptr, IID_IShellPropSheetExt, nullptr), E_POINTER);
  EXPECT_EQ(f->CreateInstance(f, IID_IShellPropSheetExt, nullptr), E_POINTER);
  EXPECT_EQ(moduleObjectCount, 1u);
  EXPECT_EQ(f->AddRef(), 2u) << "no reference was added";
  f->Release();
  f->Release();

  IShellPropSheetExt* first = extension();
  IShellExtInit* second = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&second)), S_OK);
  EXPECT_EQ(first->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(second->QueryInterface(IID_IShellExtInit, nullptr), E_POINTER);
  EXPECT_EQ(first->AddRef(), 3u) << "no reference was added";
  first->Release();
  second->Release();
  EXPECT_EQ(first->Release(), 0u);
}

// --- DllMain -------------------------------------------------------------------

TEST_F(ServerTest, DllMainSavesTheInstanceAtAttachAndNeverRefuses) {
  const HINSTANCE loaded = host::fakeModule(4);
  moduleInstance = nullptr;
  EXPECT_EQ(DllMain(loaded, DLL_PROCESS_ATTACH, nullptr), TRUE);
  EXPECT_EQ(moduleInstance, loaded);
  const DWORD others[] = {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH};
  for (DWORD reason : others) {
    SCOPED_TRACE(reason);
    EXPECT_EQ(DllMain(host::fakeModule(5), reason, nullptr), TRUE);
    EXPECT_EQ(moduleInstance, loaded) << "only the attach saves the instance";
  }
  EXPECT_EQ(moduleObjectCount, 0u);
  EXPECT_TRUE(host::journalCalls().empty()) << "DllMain calls nothing";
  moduleInstance = nullptr;
}

}  // namespace
