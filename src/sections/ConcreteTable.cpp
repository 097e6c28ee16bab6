#include "sections/ConcreteTable.h"

#include <cstdio>
#include <cstring>

#include "platform/Alloc.h"
#include "platform/CPathObj.h"

namespace {

struct ConcreteRecord {
  float fck;
  float E;
  float ts;
  char name[16];
};

ConcreteRecord* g_records = nullptr;
int g_count = 0;

const ConcreteRecord* At(int i) { return (i >= 0 && i < g_count) ? &g_records[i] : nullptr; }

long FileSize(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  long n = std::ftell(f);
  std::rewind(f);
  return n;
}

}  // namespace

int ReadConcreteTable(const char* folder) {
  CString path(folder ? folder : "");
  path += "\\CONCR.LIB";
  std::FILE* f = telio::OpenFile(CPathObj(path).GetFullPath(), "r");
  if (!f) return 0;
  DeallocateConcreteTable();

  // Each class takes at least six characters (three values and their
  // separators), which bounds a count that a damaged file overstates.
  const long size = FileSize(f);
  int count = 0;
  if (std::fscanf(f, " %i", &count) != 1 || count < 0) count = 0;
  if (size >= 0 && count > size / 6) count = static_cast<int>(size / 6);

  if (count > 0) {
    g_records = static_cast<ConcreteRecord*>(telio::Calloc(static_cast<size_t>(count), sizeof(ConcreteRecord)));
    if (!g_records) {
      std::fclose(f);
      return 0;
    }
  }
  int read = 0;
  for (; read < count; ++read) {
    ConcreteRecord& r = g_records[read];
    if (std::fscanf(f, " %f", &r.fck) != 1 || std::fscanf(f, " %f", &r.E) != 1 ||
        std::fscanf(f, " %f", &r.ts) != 1) {
      std::memset(&r, 0, sizeof r);
      break;
    }
    if (read < 10) {
      std::snprintf(r.name, sizeof r.name, "C%.0f", static_cast<double>(r.fck));
    } else {
      std::snprintf(r.name, sizeof r.name, "User%d", read - 10);
    }
  }
  g_count = read;
  std::fclose(f);
  return 1;
}

int GetConcreteCount() { return g_count; }

float Concrete_fck(int i) { return At(i) ? At(i)->fck : 0.0f; }
float Concrete_E(int i) { return At(i) ? At(i)->E : 0.0f; }
float Concrete_ts(int i) { return At(i) ? At(i)->ts : 0.0f; }
float Concrete_f(int i) { return At(i) ? At(i)->fck / 1.5f : 0.0f; }
CString Concrete_Name(int i) { return At(i) ? CString(At(i)->name) : CString(); }

void DeallocateConcreteTable() {
  telio::Free(g_records);
  g_records = nullptr;
  g_count = 0;
}
