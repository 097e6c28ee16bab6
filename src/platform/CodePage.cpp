#include "platform/CodePage.h"

#include <atomic>

#include "platform/CodePageTables.h"

namespace telio {

namespace {

struct PagePair {
  unsigned oem;
  unsigned ansi;
  const unsigned char* oemToAnsi;
  const unsigned char* ansiToOem;
};

const PagePair kPairs[] = {
    {437, 1252, codepage::kOem437ToAnsi1252, codepage::kAnsi1252ToOem437},
    {850, 1252, codepage::kOem850ToAnsi1252, codepage::kAnsi1252ToOem850},
    {737, 1253, codepage::kOem737ToAnsi1253, codepage::kAnsi1253ToOem737},
};

// Index into kPairs; atomic so that a host switching pages while another
// thread converts never sees a torn value.
std::atomic<int> g_pair{0};

const PagePair& Current() { return kPairs[g_pair.load(std::memory_order_relaxed)]; }

void Map(const unsigned char* table, const char* src, char* dst, ulong32 length) {
  for (ulong32 i = 0; i < length; ++i) {
    dst[i] = static_cast<char>(table[static_cast<unsigned char>(src[i])]);
  }
}

// Converts up to and including the terminating NUL (which maps to itself).
void MapString(const unsigned char* table, const char* src, char* dst) {
  for (;;) {
    unsigned char c = static_cast<unsigned char>(*src++);
    *dst++ = static_cast<char>(table[c]);
    if (c == 0) return;
  }
}

}  // namespace

bool SetCodePages(unsigned oemPage, unsigned ansiPage) {
  for (int i = 0; i < static_cast<int>(sizeof kPairs / sizeof kPairs[0]); ++i) {
    if (kPairs[i].oem == oemPage && kPairs[i].ansi == ansiPage) {
      g_pair.store(i, std::memory_order_relaxed);
      return true;
    }
  }
  return false;
}

unsigned OemCodePage() { return Current().oem; }
unsigned AnsiCodePage() { return Current().ansi; }

}  // namespace telio

int OemToCharA(const char* src, char* dst) {
  if (!src || !dst) return 0;
  telio::MapString(telio::Current().oemToAnsi, src, dst);
  return 1;
}

int CharToOemA(const char* src, char* dst) {
  if (!src || !dst) return 0;
  telio::MapString(telio::Current().ansiToOem, src, dst);
  return 1;
}

int OemToCharBuffA(const char* src, char* dst, ulong32 length) {
  if (!src || !dst) return 0;
  telio::Map(telio::Current().oemToAnsi, src, dst, length);
  return 1;
}

int CharToOemBuffA(const char* src, char* dst, ulong32 length) {
  if (!src || !dst) return 0;
  telio::Map(telio::Current().ansiToOem, src, dst, length);
  return 1;
}
