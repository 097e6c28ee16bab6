// Loads arbitrary bytes as a positioned connection list and as a plain
// element list. What loads is stored, loaded and stored again: the two
// stored forms must be the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "connections/CCONElementsList.h"
#include "platform/CArchive.h"

namespace {

template <class List>
void Check(const uint8_t* data, size_t size) {
  List list;
  CArchive in(data, size);
  list.Serialize(in);
  CArchive first;
  list.Serialize(first);
  if (!in.ok() || !first.ok()) return;
  List again;
  CArchive reload(first.Buffer(), first.BufferSize());
  again.Serialize(reload);
  CArchive second;
  again.Serialize(second);
  if (!reload.ok() || reload.Remaining() != 0 || first.BufferSize() != second.BufferSize() ||
      (first.BufferSize() &&
       std::memcmp(first.Buffer(), second.Buffer(), first.BufferSize()) != 0)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check<CCONPOSElementsLst>(data, size);
  Check<CCONElementsList>(data, size);
  return 0;
}
