#include "lightwave/lwo_reader.h"

#include "lightwave/lwo2_reader.h"
#include "lightwave/lwo3_reader.h"
#include "lightwave/lwo_object_form.h"

namespace host {

Lwo2Object ReadLwo(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
  const ObjectForm form = OpenObjectForm(bytes, fileName);
  if (form.type == MakeId("LWO3")) return ReadLwo3Chunks(form.body, fileName);
  return ReadLwo2Chunks(form.body, fileName);
}

}  // namespace host
