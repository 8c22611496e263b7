#include "tests/image/page_resource_source.h"

bool readPageResources(std::vector<res::Resource>* resources, std::string* error) {
  return res::readResFile(OBX_PAGE_RES_FILE, resources, error);
}
