#include <optional>

#include "tests/image/page_resource_source.h"
#include "tests/image/pe_image.h"

namespace {

res::NameOrOrdinal fromImage(const pe::ResourceId& id) {
  res::NameOrOrdinal n;
  n.isOrdinal = !id.isName;
  n.ordinal = id.number;
  n.text = id.name;
  return n;
}

}  // namespace

bool readPageResources(std::vector<res::Resource>* resources, std::string* error) {
  std::optional<pe::Image> image = pe::readImage(OBX_PAGE_DLL, error);
  if (!image) return false;
  resources->clear();
  for (const pe::Resource& from : image->resources) {
    res::Resource to;
    to.type = fromImage(from.type);
    to.name = fromImage(from.name);
    to.language = from.language;
    to.data = from.data;
    resources->push_back(to);
  }
  return true;
}
