#include "files/CFileACE.h"

#include <cstring>

#include "files/ExportFile.h"
#include "files/FileReading.h"
#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/Coding.h"

namespace {

constexpr int kSpare = 1;
constexpr size_t kBlockWords = 2 * CFileACE::kCmbListSize + 2 * CFileACE::kEnvListSize +
                               (CFileACE::kCmbFlags + 1 + kSpare) +
                               (CFileACE::kEnvFlags + 1 + kSpare);
// Reads `count` words into table. `available` is the number of words the
// file still holds (-1 when unknown); only those are asked for, so a short
// list reports 38 after keeping what it read.
ulong32 ReadWords(std::FILE* f, uint16_t* table, int count, long long* available) {
  int want = count;
  if (*available >= 0 && *available < want) want = static_cast<int>(*available);
  if (want > 0) {
    ulong32 code = FReadBuff(f, table, 2, static_cast<unsigned>(want));
    if (code != 0) return code;
    telio::DecodeFixed16s(table, reinterpret_cast<const unsigned char*>(table), static_cast<size_t>(want));
  }
  if (*available >= 0) *available -= want;
  return want < count ? static_cast<ulong32>(telio::kErrorHandleEof) : 0u;
}

ulong32 WriteWords(std::FILE* f, const uint16_t* table, int count) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // The words are already in the file's byte order.
  return FWriteBuff(f, const_cast<uint16_t*>(table), 2, static_cast<unsigned>(count));
#else
  unsigned char buf[1024];
  for (int done = 0; done < count;) {
    const int n = count - done < 512 ? count - done : 512;
    telio::EncodeFixed16s(buf, table + done, static_cast<size_t>(n));
    ulong32 code = FWriteBuff(f, buf, 2, static_cast<unsigned>(n));
    if (code != 0) return code;
    done += n;
  }
  return 0;
#endif
}

// Every bit set is the inactive word 0xFFFF: a byte fill does it.
void FillInactive(uint16_t* words, int count) {
  static_assert(CFileACE::kInactive == 0xFFFF, "the inactive word has every bit set");
  std::memset(words, 0xFF, static_cast<size_t>(count) * sizeof(uint16_t));
}

// Builds the flags of one kind and returns its number of active entries.
// Positions named by the position list are marked first so that the walk
// over the free positions can skip them in one pass; they end as 2 either
// way.
int BuildFlags(const uint16_t* act, const uint16_t* pos, uint16_t* flags, int listSize) {
  const int flagCount = 2 * listSize - 1;
  flags[0] = 0;
  FillInactive(flags + 1, flagCount);

  int m = pos[0];
  if (m > listSize - 1) m = listSize - 1;
  for (int q = 1; q <= m; ++q) {
    int p = pos[q];
    if (p >= 1 && p <= flagCount) flags[p] = CFileACE::kSecondKind;
  }

  int active = 0;
  for (int i = 1; i < listSize; ++i) {
    if (act[i] != CFileACE::kInactive) ++active;
  }
  const int total = active + m;
  int p = 0;
  for (int j = 1; j <= total; ++j) {
    // The j-th position not in the position list, looked for up to the
    // list's size.
    do {
      ++p;
    } while (p <= listSize && flags[p] == CFileACE::kSecondKind);
    if (p > listSize) break;
    if (j < listSize && act[j] != CFileACE::kInactive) flags[p] = act[j];
  }
  return active;
}

void Activate(uint16_t* act, uint16_t* pos, int listSize, int on, int from, int to) {
  const int last = listSize - 1;
  if (from < 1) from = 1;
  if (to == -1 || to > last) to = last;
  for (int i = from; i <= to; ++i) {
    act[i] = on ? 1 : CFileACE::kInactive;
    pos[i] = 0;
  }
}

}  // namespace

CFileACE::CFileACE() {
  SetFileDefExt("ACE");
  block_ = static_cast<uint16_t*>(telio::Malloc(kBlockWords * sizeof(uint16_t)));
  if (block_) {
    cmbAct_ = block_;
    envAct_ = cmbAct_ + kCmbListSize;
    cmbPos_ = envAct_ + kEnvListSize;
    envPos_ = cmbPos_ + kCmbListSize;
    cmbFlags_ = envPos_ + kEnvListSize;
    envFlags_ = cmbFlags_ + kCmbFlags + 1 + kSpare;
  }
  InitACE();
}

CFileACE::~CFileACE() {
  Init();
  telio::Free(block_);
}

void CFileACE::InitACE() {
  cmbListSize_ = envListSize_ = 0;
  activeCmb_ = activeEnv_ = 0;
  if (!HasTables()) return;
  std::memset(block_, 0, kBlockWords * sizeof(uint16_t));
  FillInactive(cmbAct_ + 1, kCmbListSize - 1);
  FillInactive(envAct_ + 1, kEnvListSize - 1);
  FillInactive(cmbFlags_ + 1, kCmbFlags);
  FillInactive(envFlags_ + 1, kEnvFlags);
}

int CFileACE::NewFile(const char* path) {
  Close();
  if (path) SetFilePath(path, false);
  return 1;
}

void CFileACE::Close() {
  Init();
  InitACE();
}

ulong32 CFileACE::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  if (!HasTables()) return telio::kErrorNotEnoughMemory;
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  long long bytes = telio::filereading::BytesLeft(f);
  const bool old = bytes == kOldFileSize;
  cmbListSize_ = old ? kOldListSize : kCmbListSize;
  envListSize_ = old ? kOldListSize : kEnvListSize;
  long long words = bytes < 0 ? -1 : bytes / 2;
  ulong32 code = ReadWords(f, cmbAct_, cmbListSize_, &words);
  if (code == 0) code = ReadWords(f, envAct_, envListSize_, &words);
  if (code == 0) code = ReadWords(f, cmbPos_, cmbListSize_, &words);
  if (code == 0) code = ReadWords(f, envPos_, envListSize_, &words);
  std::fclose(f);
  FindActiveCE();
  return code;
}

ulong32 CFileACE::Export(const char* path) {
  if (!path) return 1;
  if (!SetFilePath(path, false)) return telio::filereading::OpenFailure();
  if (!HasTables()) return telio::kErrorNotEnoughMemory;
  telio::ExportFile out(path);
  if (!out.get()) return out.OpenError();
  cmbListSize_ = kCmbListSize;
  envListSize_ = kEnvListSize;
  ulong32 code = WriteWords(out.get(), cmbAct_, kCmbListSize);
  if (code == 0) code = WriteWords(out.get(), envAct_, kEnvListSize);
  if (code == 0) code = WriteWords(out.get(), cmbPos_, kCmbListSize);
  if (code == 0) code = WriteWords(out.get(), envPos_, kEnvListSize);
  return out.Commit(code);
}

void CFileACE::FindActiveCE() {
  if (!HasTables()) return;
  activeCmb_ = BuildFlags(cmbAct_, cmbPos_, cmbFlags_, kCmbListSize);
  activeEnv_ = BuildFlags(envAct_, envPos_, envFlags_, kEnvListSize);
}

void CFileACE::ActivateCmb(int on, int from, int to) {
  if (!HasTables()) return;
  Activate(cmbAct_, cmbPos_, kCmbListSize, on, from, to);
  FindActiveCE();
}

void CFileACE::ActivateEnv(int on, int from, int to) {
  if (!HasTables()) return;
  Activate(envAct_, envPos_, kEnvListSize, on, from, to);
  FindActiveCE();
}

int CFileACE::IsActiveCombination(int i) const {
  if (GetFilePath().IsEmpty() || i < 1 || i > kCmbFlags) return 0;
  return CmbFlag(i) == 1 ? 1 : 0;
}

int CFileACE::IsActiveEnvelope(int i) const {
  if (GetFilePath().IsEmpty() || i < 1 || i > kEnvFlags) return 0;
  return EnvFlag(i) == 1 ? 1 : 0;
}

namespace {

int FindReal(const uint16_t* flags, int flagCount, int k, int& real) {
  int a = 0;
  int b = 0;
  for (int p = 1; p <= flagCount && a != k; ++p) {
    if (flags[p] == 1) ++a;
    else if (flags[p] == CFileACE::kSecondKind) ++b;
  }
  real = a + b;
  return 1;
}

}  // namespace

int CFileACE::FindRealIndexActiveCombination(int k, int& real) {
  if (GetFilePath().IsEmpty() || k < 1 || k > kCmbFlags || activeCmb_ == 0 || !HasTables()) return 0;
  return FindReal(cmbFlags_, kCmbFlags, k, real);
}

int CFileACE::FindRealIndexActiveEnvelope(int k, int& real) {
  if (GetFilePath().IsEmpty() || k < 1 || k > kEnvFlags || activeEnv_ == 0 || !HasTables()) return 0;
  return FindReal(envFlags_, kEnvFlags, k, real);
}
