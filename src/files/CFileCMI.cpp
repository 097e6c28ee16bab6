#include "files/CFileCMI.h"

#include <cstring>

#include "files/ExportFile.h"
#include "files/FileReading.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"

namespace {

// Kind word of a combination linked to another job's results (frozen).
constexpr uint16_t kKindLinked = 8;

// Zero padding for the tail of a written record.
unsigned char g_zeros[CMI_REC::kSize];

}  // namespace

CFileCMI::CFileCMI() {
  SetFileDefExt("CMI");
  std::memset(header_, 0, sizeof(header_));
}

CFileCMI::~CFileCMI() { Close(); }

int CFileCMI::NewFile(const char* path) {
  Close();
  if (path) SetFilePath(path, false);
  return 1;
}

void CFileCMI::Close() {
  Init();
  std::memset(header_, 0, sizeof(header_));
  combinations_.RemoveAll();
  kinds_.RemoveAll();
  links_.RemoveAll();
}

void CFileCMI::RemoveAll() {
  combinations_.RemoveAll();
  kinds_.RemoveAll();
  links_.RemoveAll();
  SetHeaderLong(0, 0);
}

ulong32 CFileCMI::Import(const char* path) {
  if (!NewFile(nullptr)) return 1;
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  ulong32 result = FReadBuff(f, header_, kHeaderRead, 1);
  if (result == 0) result = ReadCombinations(f);
  std::fclose(f);
  return result;
}

ulong32 CFileCMI::ReadCombinations(std::FILE* f) {
  const bool current = GetRecordSize() == CMI_REC::kSize;
  const long long recSize = current ? CMI_REC::kSize : kOldRecordSize;
  const long32 maxTerms = current ? CMI_REC::kMaxTerms : kOldMaxTerms;
  const long32 version = GetVersion();
  const long long wordSize = version == kVersionCurrent ? 2 : version == kVersionByteWords ? 1 : 0;

  // A negative count is no combination.
  const long32 count = GetNumberOfCombinations() > 0 ? GetNumberOfCombinations() : 0;
  // Only combinations that start inside the file get room.
  long long held = count;
  if (std::fseek(f, 0, SEEK_SET) == 0) {
    long long size = telio::filereading::BytesLeft(f);
    if (size >= 0) {
      long long starting = size > recSize ? (size - recSize + recSize - 1) / recSize : 0;
      if (starting < held) held = starting;
    }
  }
  try {
    combinations_.SetSize(static_cast<int>(held));
    kinds_.SetSize(static_cast<int>(held));
    links_.SetSize(static_cast<int>(held));
  } catch (CException*) {
    combinations_.RemoveAll();
    kinds_.RemoveAll();
    links_.RemoveAll();
    return telio::kErrorNotEnoughMemory;
  }

  long32 linked = 0;
  ulong32 code = 0;
  int done = 0;
  for (; done < held; ++done) {
    CMI_REC& rec = combinations_[done];
    unsigned char word[4];
    code = FReadBuffAtPos(f, word, 4, 1, static_cast<long32>(recSize * (done + 1)));
    if (code != 0) break;
    long32 n = static_cast<long32>(telio::DecodeFixed32(word));
    if (n < 0) n = 0;
    if (n > maxTerms) n = maxTerms;
    rec.SetCount(n);
    code = FReadBuff(f, rec.data + 4, 4, static_cast<unsigned>(n));
    if (code == 0) code = FReadBuff(f, rec.data + 4 + 4 * CMI_REC::kMaxTerms, 4, static_cast<unsigned>(n));
    if (code != 0) break;
    uint16_t kind = 0;
    uint16_t link = 0;
    if (wordSize != 0) {
      // A full record has no room for its words: they are the bytes after
      // it, and nothing at the end of the file.
      unsigned char words[4] = {};
      code = FReadBuff(f, words, static_cast<unsigned>(wordSize), 2);
      if (code == telio::kErrorHandleEof && 4 + 8LL * n + 2 * wordSize > recSize) {
        code = 0;
        std::memset(words, 0, sizeof words);
      }
      if (code != 0) break;
      if (wordSize == 2) {
        kind = telio::DecodeFixed16(words);
        link = telio::DecodeFixed16(words + 2);
      } else {
        kind = static_cast<uint16_t>(static_cast<int16_t>(static_cast<int8_t>(words[0])));
        link = static_cast<uint16_t>(static_cast<int16_t>(static_cast<int8_t>(words[1])));
      }
    }
    kinds_[done] = kind;
    links_[done] = link;
    if (link != 0) ++linked;
  }
  if (done < held) {
    // The record that failed is dropped; shrinking does not allocate.
    combinations_.SetSize(done);
    kinds_.SetSize(done);
    links_.SetSize(done);
  }
  SetHeaderLong(4, linked);
  if (code == 0 && held < count) code = telio::kErrorHandleEof;
  return code;
}

ulong32 CFileCMI::Export(const char* path) {
  if (!path) return 1;
  if (!SetFilePath(path, false)) return telio::filereading::OpenFailure();
  telio::ExportFile out(path);
  if (!out.get()) return out.OpenError();
  std::FILE* f = out.get();
  SetHeaderLong(20, kVersionCurrent);
  SetHeaderLong(24, CMI_REC::kSize);
  // The file's count and records agree even after a short import: the
  // combinations held are written and counted.
  long32 count = GetNumberOfCombinations();
  if (count > combinations_.GetSize()) count = combinations_.GetSize();
  if (count < 0) count = 0;
  long32 linked = 0;
  for (long32 i = 0; i < count; ++i) linked += links_[i] != 0 ? 1 : 0;
  unsigned char header[kHeaderSize];
  std::memcpy(header, header_, kHeaderSize);
  telio::EncodeFixed32(header, static_cast<uint32_t>(count));
  telio::EncodeFixed32(header + 4, static_cast<uint32_t>(linked));
  ulong32 code = FWriteBuff(f, header, kHeaderSize, 1);
  for (long32 i = 0; i < count && code == 0; ++i) {
    CMI_REC& rec = combinations_[i];
    long32 n = rec.Count();
    if (n < 0) n = 0;
    if (n > kMaxTermsWritten) n = kMaxTermsWritten;
    unsigned char head[4];
    telio::EncodeFixed32(head, static_cast<uint32_t>(n));
    unsigned char words[4];
    telio::EncodeFixed16(words, kinds_[i]);
    telio::EncodeFixed16(words + 2, links_[i]);
    code = FWriteBuff(f, head, 4, 1);
    if (code == 0) code = FWriteBuff(f, rec.data + 4, 4, static_cast<unsigned>(n));
    if (code == 0) code = FWriteBuff(f, rec.data + 4 + 4 * CMI_REC::kMaxTerms, 4, static_cast<unsigned>(n));
    if (code == 0) code = FWriteBuff(f, words, 4, 1);
    if (code == 0) code = FWriteBuff(f, g_zeros, 1, static_cast<unsigned>(CMI_REC::kSize - 8 - 8 * n));
  }
  return out.Commit(code);
}

int CFileCMI::AddCombination(CMI_REC* rec, int link) {
  if (!rec || rec->Count() < 1) return 0;
  const int old = combinations_.GetSize();
  // rec may be one of ours, which growing the array moves.
  const CMI_REC* base = combinations_.GetData();
  const bool own = base && rec >= base && rec < base + old;
  const int ownIndex = own ? static_cast<int>(rec - base) : -1;
  const bool linkedCase = link >= 1;
  try {
    combinations_.SetSize(old + 1);
    kinds_.Add(linkedCase ? kKindLinked : 0);
    try {
      links_.Add(linkedCase ? static_cast<uint16_t>(link & 0xFFFF) : 0);
    } catch (CException*) {
      kinds_.SetSize(old);
      throw;
    }
  } catch (CException*) {
    combinations_.SetSize(old);
    throw;
  }
  const CMI_REC* src = own ? &combinations_[ownIndex] : rec;
  std::memcpy(combinations_[old].data, src->data, CMI_REC::kSize);
  if (linkedCase) SetHeaderLong(4, GetNumberOfLinkedCombinations() + 1);
  SetHeaderLong(0, GetNumberOfCombinations() + 1);
  return GetNumberOfCombinations();
}

CMI_REC* CFileCMI::GetCombination(long32 i) {
  if (i < 0 || i >= GetNumberOfCombinations() || i >= combinations_.GetSize()) return nullptr;
  return &combinations_[i];
}

uint16_t CFileCMI::GetKind(long32 i) const {
  return i >= 0 && i < kinds_.GetSize() ? kinds_[i] : 0;
}

uint16_t CFileCMI::GetLink(long32 i) const {
  return i >= 0 && i < links_.GetSize() ? links_[i] : 0;
}
