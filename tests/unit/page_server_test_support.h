// Shared ground of the server tests: the module count checked at zero
// before and after each test (a leaked object or page fails the test that
// leaked it), a poisoned out-pointer, the identifiers by name, and a
// switch that makes the next nothrow allocation fail.
#pragma once

#include <string>

#include "page/module_state.h"
#include "tests/unit/host_test.h"

namespace server_test {

// A value no call would leave: shows that an out-pointer was written.
inline void* poison() { return reinterpret_cast<void*>(static_cast<uintptr_t>(0x5A5A5A50)); }

// An identifier no part of the server knows.
const IID IID_Unknown = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};

struct NamedIid {
  const char* name;
  const IID* iid;
};
const NamedIid allIids[] = {{"IUnknown", &IID_IUnknown},
                            {"IClassFactory", &IID_IClassFactory},
                            {"IShellExtInit", &IID_IShellExtInit},
                            {"IShellPropSheetExt", &IID_IShellPropSheetExt},
                            {"unknown", &IID_Unknown}};

// The next `new (std::nothrow)` gives null (defined with the tests).
void failNextAllocation();

class ServerTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_EQ(moduleObjectCount, 0u) << "an earlier test left objects or pages";
  }
  void TearDown() override {
    EXPECT_EQ(moduleObjectCount, 0u) << "objects or pages left alive";
    EXPECT_TRUE(host::propertySheetFaults().empty());
    moduleObjectCount = 0;
  }

  // A factory as the shell gets it.
  IClassFactory* factory() {
    void* out = nullptr;
    EXPECT_EQ(DllGetClassObject(CLSID_PageExtension, IID_IClassFactory, &out), S_OK);
    return static_cast<IClassFactory*>(out);
  }
  // An extension as the shell gets it, through its first face.
  IShellPropSheetExt* extension() {
    IClassFactory* f = factory();
    void* out = nullptr;
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IShellPropSheetExt, &out), S_OK);
    f->Release();
    return static_cast<IShellPropSheetExt*>(out);
  }
  IShellExtInit* secondFace(IShellPropSheetExt* first) {
    void* out = nullptr;
    EXPECT_EQ(first->QueryInterface(IID_IShellExtInit, &out), S_OK);
    first->Release();
    return static_cast<IShellExtInit*>(out);
  }
};

}  // namespace server_test
