#include "topology/ENTITIESStructs.h"

#include "platform/FieldText.h"

namespace ENTITIESStructs {

void CopyItemName(char* field, std::size_t size, const char* text) { telio::WriteFieldText(field, size, text); }

}  // namespace ENTITIESStructs
