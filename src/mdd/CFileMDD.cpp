#include "mdd/CFileMDD.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "files/CFileACE.h"
#include "files/CFileCMI.h"
#include "files/CFileJOB.h"
#include "files/CFileNAM.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "files/FileReading.h"
#include "platform/Alloc.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/CodePage.h"
#include "platform/LastError.h"

using MDDStrucst::BLIST;
using MDDStrucst::CONSTRAINT;
using MDDStrucst::CONSTRAINTS_LTB;
using MDDStrucst::LTB_CONS;
using MDDStrucst::MLCHEADER;
using MDDStrucst::NewData4Job;
using MDDStrucst::OPENJOB;
using MDDStrucst::Point3D;

namespace {

constexpr int kShortType = 11;
constexpr int kLongTypeLast = 13;
constexpr int kLinkedDefaultCapacity = 30;
constexpr int kDefaultCapacity = 10;
constexpr long long kRestraintBlock = CFileMDD::kRestraintsPerSet * static_cast<long long>(CONSTRAINT::kFileSize);
constexpr long long kDb0Budget = 1 << 20;
constexpr long long kDb0BudgetPerByte = 64;

// Opens path for reading when it exists and carries the extension: 0 with
// *f set, or the code of the failure (2 missing, 123 another extension, the
// open's code).
ulong32 OpenWithExt(const char* path, const char* ext, std::FILE** f) {
  *f = nullptr;
  if (!path) return telio::kErrorFileNotFound;
  CPathObj p(path);
  if (!p.ExistsPath()) return telio::kErrorFileNotFound;
  if (!p.IsFileEXTOneOf(ext)) return telio::kErrorInvalidName;
  *f = telio::OpenFile(path, "rb");
  return *f ? 0 : telio::filereading::OpenFailure();
}

// Reads the rest of the stream, at most `want` bytes, into a new block
// released with telio::Free: 0, 8, 1392 for a stream that is not a file,
// or the stream's code.
ulong32 ReadPrefix(std::FILE* f, long long want, unsigned char** out, long long* size) {
  *out = nullptr;
  *size = 0;
  const long long left = telio::filereading::BytesLeft(f);
  if (left < 0) return telio::kErrorFileCorrupt;
  const long long n = std::max(0LL, std::min(left, want));
  if (static_cast<unsigned long long>(n) > SIZE_MAX / 2) return telio::kErrorNotEnoughMemory;
  unsigned char* buf = static_cast<unsigned char*>(telio::Malloc(static_cast<size_t>(n > 0 ? n : 1)));
  if (!buf) return telio::kErrorNotEnoughMemory;
  constexpr long long kPiece = 1LL << 30;
  for (long long done = 0; done < n;) {
    const long long piece = std::min(kPiece, n - done);
    ulong32 code = FReadBuff(f, buf + done, static_cast<unsigned>(piece), 1);
    if (code != 0) {
      telio::Free(buf);
      return code;
    }
    done += piece;
  }
  *out = buf;
  *size = n;
  return 0;
}

struct Block {
  unsigned char* p = nullptr;
  ~Block() { telio::Free(p); }
};

// A (kept to 0..800), B and the names from the first `size` bytes of an MLC
// file, names converted to the ANSI page. 38 when A and B are cut.
ulong32 ParseMLCHead(const unsigned char* file, long long size, MLCHEADER& out) {
  std::memset(out.data, 0, sizeof out.data);
  if (size < 4) return telio::kErrorHandleEof;
  const int a = static_cast<int16_t>(telio::DecodeFixed16(file));
  const int b = static_cast<int16_t>(telio::DecodeFixed16(file + 2));
  const int cases = std::max(0, std::min(a, MLCHEADER::kMaxLoadCases));
  out.SetLoadCases(static_cast<int16_t>(cases));
  out.SetMembers(static_cast<int16_t>(std::max(0, b)));
  char name[MLCHEADER::kNameSize + 1];
  for (int i = 0; i < cases; ++i) {
    const long long at = CFileMDD::kMlcNamesAt + static_cast<long long>(MLCHEADER::kNameSize) * i;
    if (at + static_cast<long long>(MLCHEADER::kNameSize) > size) break;
    std::memcpy(name, file + at, MLCHEADER::kNameSize);
    name[19] = '\0';  // 19 characters at most are significant
    OemToCharA(name, name);
    std::strcpy(out.PName(i), name);
  }
  return 0;
}

}  // namespace

CFileMDD::CFileMDD()
    : capacity_(0),
      membersRead_(0),
      totalPositions_(0),
      members_(nullptr),
      positionBeams_(nullptr),
      positionSlots_(0),
      firstPosition_(nullptr) {
  SetFileDefExt("MDD");
  std::memset(job_.data, 0, sizeof job_.data);
  std::memset(open_.data, 0, sizeof open_.data);
  std::memset(extension_, 0, sizeof extension_);
  std::memset(mlc_.data, 0, sizeof mlc_.data);
  mlc_.counts = nullptr;
}

CFileMDD::~CFileMDD() { Close(); }

int CFileMDD::NewFile(const char*) { return 0; }

ulong32 CFileMDD::Export(const char*) { return 0; }

void CFileMDD::FreeBuffers() {
  telio::Free(members_);
  telio::Free(positionBeams_);
  telio::Free(firstPosition_);
  telio::Free(mlc_.counts);
  members_ = nullptr;
  positionBeams_ = nullptr;
  firstPosition_ = nullptr;
  mlc_.counts = nullptr;
  positionSlots_ = 0;
  capacity_ = 0;
  // No member records without the buffers.
  membersRead_ = 0;
  totalPositions_ = 0;
}

void CFileMDD::Close() {
  Init();
  memLC_.RemoveAll();
  for (int s = 0; s < 2; ++s) {
    restraintWords_[s].RemoveAll();
    restraints_[s].RemoveAll();
  }
  for (DB0Table& t : db0_) t.RemoveAll();
  ltbMembers_.RemoveAll();
  ltbRestraints_.RemoveAll();
  points_.RemoveAll();
  FreeBuffers();
  std::memset(job_.data, 0, sizeof job_.data);
  std::memset(open_.data, 0, sizeof open_.data);
  std::memset(extension_, 0, sizeof extension_);
  std::memset(mlc_.data, 0, sizeof mlc_.data);
  topology_.Close();
}

void CFileMDD::InitializeJob() {
  FreeBuffers();
  if (job_.DefaultCapacity() == 0) {
    job_.SetDefaultCapacity(IsLinked() ? kLinkedDefaultCapacity : kDefaultCapacity);
  }
  const long32 capacity = job_.MemberCapacity() != 0 ? job_.MemberCapacity() : job_.DefaultCapacity();
  if (capacity < 1 || capacity > kMaxCapacity) return;
  job_.SetMemberCapacity(static_cast<int16_t>(capacity));
  const size_t slots = static_cast<size_t>(capacity);
  members_ = static_cast<BLIST*>(telio::Calloc(slots, sizeof(BLIST)));
  positionBeams_ = static_cast<int16_t*>(telio::Calloc(slots * kPositionSlots, sizeof(int16_t)));
  mlc_.counts = static_cast<int16_t*>(telio::Calloc(slots, sizeof(int16_t)));
  firstPosition_ = static_cast<long32*>(telio::Calloc(slots + 1, sizeof(long32)));
  if (!members_ || !positionBeams_ || !mlc_.counts || !firstPosition_) {
    FreeBuffers();
    return;
  }
  capacity_ = capacity;
  positionSlots_ = capacity * kPositionSlots;
}

ulong32 CFileMDD::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  ulong32 code = ReadJob(f);
  if (code == 0) code = ReadPositions(f);
  if (code == 0 && ReadMemberNodesXYZ(f) < 0) code = telio::GetLastError();
  std::fclose(f);
  auto fail = [this](ulong32 c) {
    Close();
    return c;
  };
  // Not a job, or no memory: nothing worth keeping.
  if (code == 1 || code == telio::kErrorNotEnoughMemory) return fail(code);
  if (code != 0) return code;

  RepairJobFolder();
  if (OpenJobTopology(SidePath("TOP")) != 0) return fail(telio::kErrorNotEnoughMemory);
  if (!IsLinked()) {
    ulong32 openFailure = 0;
    code = ReadSide(SidePath("MLC"), "MLC", &CFileMDD::ReadMLCFrom, &openFailure);
    if (openFailure != 0) return 1;
    if (code != 0) return code == telio::kErrorNotEnoughMemory ? fail(code) : code;
  } else {
    bool outOfMemory = false;
    if (!ValidateLink(&outOfMemory)) return outOfMemory ? fail(telio::kErrorNotEnoughMemory) : 1;
    const CString top = LinkedPath("TOP");
    if (CPathObj(top).ExistsPath() && OpenJobTopology(top) != 0) return fail(telio::kErrorNotEnoughMemory);
  }
  // Damage to these files shows in their buffers only; lack of memory would
  // leave the job half-read.
  const struct {
    const char* ext;
    SideReader read;
  } sides[] = {{"CNS", &CFileMDD::ReadCNSFrom}, {"LTB", &CFileMDD::ReadLTBFrom}, {"DB0", &CFileMDD::ReadDB0From}};
  for (const auto& s : sides) {
    ulong32 openFailure = 0;
    if (ReadSide(SidePath(s.ext), s.ext, s.read, &openFailure) == telio::kErrorNotEnoughMemory) {
      return fail(telio::kErrorNotEnoughMemory);
    }
  }
  return 0;
}

ulong32 CFileMDD::ReadJob(std::FILE* f) {
  unsigned char magic[4];
  ulong32 code = FReadBuff(f, magic, sizeof magic, 1);
  if (code != 0) return code;
  if (telio::DecodeFixed32(magic) != _dwIDTag) return 1;
  if ((code = FReadBuff(f, job_.data, NewData4Job::kSize, 1)) != 0) return code;
  if (job_.DeclaredSize() != NewData4Job::kSize) {
    if ((code = FileSetPositionAt(f, 4 + static_cast<long32>(job_.DeclaredSize()))) != 0) return code;
  }
  const int type = job_.Type();
  if (job_.JobKind() != NewData4Job::kAnyType && (type < kShortType || type > kLongTypeLast)) return 1;
  if ((code = FReadBuff(f, open_.data, OPENJOB::kSize, 1)) != 0) return code;

  const long32 declared = job_.MemberCapacity();
  const long32 fallback = job_.DefaultCapacity() != 0 ? job_.DefaultCapacity()
                                                       : (IsLinked() ? kLinkedDefaultCapacity : kDefaultCapacity);
  const long32 capacity = declared != 0 ? declared : fallback;
  if (capacity < 1 || capacity > kMaxCapacity) return telio::kErrorFileCorrupt;
  InitializeJob();
  if (!members_) return telio::kErrorNotEnoughMemory;
  if (open_.Version() >= OPENJOB::kExtensionVersion) {
    if ((code = FReadBuff(f, extension_, sizeof extension_, 1)) != 0) return code;
  }

  const int count = std::max<int>(0, open_.MemberCount());
  if (count > capacity_) return telio::kErrorFileCorrupt;
  const unsigned record = type == kShortType ? BLIST::kShortSize
                          : (type > kShortType && type <= kLongTypeLast) ? BLIST::kSize
                                                                          : 0;
  for (int i = 0; record != 0 && i < count; ++i) {
    if ((code = FReadBuff(f, members_[i].data, record, 1)) != 0) return code;
    const int beams = members_[i].BeamCount();
    if (beams < 0) return telio::kErrorFileCorrupt;
    membersRead_ = i + 1;
    firstPosition_[i + 1] = firstPosition_[i] + beams;
    totalPositions_ += beams;
  }
  membersRead_ = count;
  return 0;
}

ulong32 CFileMDD::ReadPositions(std::FILE* f) {
  const long long total = totalPositions_;
  const long long fit = telio::filereading::RecordsThatFit(f, 2, total);
  if (total > capacity_) {
    // As many slots per position as the capacity gives each member, but
    // only for the positions the file can hold.
    const long long slots = std::max<long long>(capacity_, fit) * kPositionSlots;
    if (static_cast<unsigned long long>(slots) > SIZE_MAX / 4) return telio::kErrorNotEnoughMemory;
    int16_t* fresh = static_cast<int16_t*>(telio::Calloc(static_cast<size_t>(slots), sizeof(int16_t)));
    if (!fresh) return telio::kErrorNotEnoughMemory;
    telio::Free(positionBeams_);
    positionBeams_ = fresh;
    positionSlots_ = slots;
  }
  if (fit > 0) {
    ulong32 code = FReadBuff(f, positionBeams_, 2, static_cast<unsigned>(fit));
    if (code != 0) return code;
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(positionBeams_);
    for (long long i = 0; i < fit; ++i) {
      positionBeams_[i] = static_cast<int16_t>(telio::DecodeFixed16(raw + 2 * i));
    }
  }
  return fit < total ? ulong32{telio::kErrorHandleEof} : 0;
}

int CFileMDD::ReadMemberNodesXYZ(std::FILE* f) {
  if (!f) return -1;
  if (membersRead_ < 1) return 0;
  const long long left = telio::filereading::BytesLeft(f);
  try {
    if (left >= 0) {
      const long long n = std::min<long long>(left / static_cast<long long>(Point3D::kSize), INT_MAX);
      points_.SetSizeUninitialized(static_cast<int>(n));
      const ulong32 code = n > 0 ? FReadBuff(f, points_.GetData(), Point3D::kSize, static_cast<unsigned>(n)) : 0;
      if (code != 0) {
        points_.RemoveAll();
        telio::SetLastError(code);
        return -1;
      }
    } else {
      Point3D p;
      while (std::fread(p.data, Point3D::kSize, 1, f) == 1) points_.Add(p);
    }
  } catch (CException*) {
    points_.RemoveAll();
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return -1;
  }
  return points_.GetSize();
}

void CFileMDD::RepairJobFolder() {
  const CString mdd = GetFilePath();
  const CString name = job_.JobName();
  CString folder = job_.JobFolder();
  if (!folder.IsEmpty()) {
    CPathObj p(folder.GetString());
    if (p.IsRelativePath()) folder = p.GetAbsolutePath(CPathObj(mdd.GetString()).GetFolder());
  }
  if (folder.IsEmpty() || !CPathObj(folder.GetString()).ExistsPath()) {
    CString upper = mdd;
    upper.MakeUpper();
    CString wanted = name + ".AJF";
    wanted.MakeUpper();
    const int at = name.IsEmpty() ? -1 : upper.Find(wanted.GetString());
    folder.Empty();
    if (at >= 0) {
      folder = upper.Left(at + wanted.GetLength());
      if (!CPathObj(folder.GetString()).ExistsPath()) folder.Empty();
    }
  }
  job_.SetJobFolder(folder.GetString());
  // A folder without a root of its own (a drive letter, or a leading
  // separator here) takes the root of the MDD path in which it is found.
  const char first = folder.GetAt(0);
  if (folder.GetAt(1) != ':' && first != '/' && first != '\\') {
    CString lower = mdd;
    lower.MakeLower();
    CString wanted = folder;
    wanted.MakeLower();
    int at = lower.Find(wanted.GetString());
    if (at < 0) {
      wanted = name + ".AJF";
      wanted.MakeLower();
      at = name.IsEmpty() ? -1 : lower.Find(wanted.GetString());
    }
    folder = at >= 0 ? lower.Left(at + wanted.GetLength()) : CString();
    job_.SetJobFolder(folder.GetString());
  }
}

ulong32 CFileMDD::OpenJobTopology(const CString& path) {
  if (!topology_.OpenTopology(path.GetString()) && telio::GetLastError() == telio::kErrorNotEnoughMemory) {
    return telio::kErrorNotEnoughMemory;
  }
  return 0;
}

CString CFileMDD::SidePath(const char* ext) const {
  CPathObj p(GetFilePath().GetString());
  p.ChangeEXT(ext);
  return CString(p.GetFullPath());
}

CString CFileMDD::LinkedPath(const char* ext) const {
  const CString folder = job_.JobFolder();
  const CString name = job_.JobName();
  if (folder.IsEmpty() || name.IsEmpty()) return CString();
  CPathObj p(folder.GetString());
  p.AppendFile(name.GetString());
  p.AppendEXT(ext);
  return CString(p.GetFullPath());
}

ulong32 CFileMDD::ReadSide(const CString& path, const char* ext, SideReader read, ulong32* openFailure) {
  std::FILE* f = nullptr;
  *openFailure = OpenWithExt(path.GetString(), ext, &f);
  if (*openFailure != 0) return *openFailure;
  ulong32 code;
  try {
    code = (this->*read)(f);
  } catch (CException*) {
    code = telio::kErrorNotEnoughMemory;
  }
  std::fclose(f);
  return code;
}

int CFileMDD::ReadSidePublic(const char* path, const char* ext, SideReader read) {
  ulong32 openFailure = 0;
  const ulong32 code = ReadSide(CString(path ? path : ""), ext, read, &openFailure);
  if (code != 0) {
    telio::SetLastError(code);
    return 0;
  }
  return 1;
}

int CFileMDD::ReadMLC(const char* path) {
  if (IsLinked()) return 0;
  return ReadSidePublic(path, "MLC", &CFileMDD::ReadMLCFrom);
}

int CFileMDD::ReadCNS(const char* path) { return ReadSidePublic(path, "CNS", &CFileMDD::ReadCNSFrom); }

int CFileMDD::ReadLTB(const char* path) { return ReadSidePublic(path, "LTB", &CFileMDD::ReadLTBFrom); }

int CFileMDD::ReadDB0(const char* path) { return ReadSidePublic(path, "DB0", &CFileMDD::ReadDB0From); }

int CFileMDD::ReadMLCHeader(const char* path, MLCHEADER& out) {
  std::memset(out.data, 0, sizeof out.data);
  out.counts = nullptr;
  std::FILE* f = nullptr;
  ulong32 code = OpenWithExt(path, "MLC", &f);
  if (code == 0) {
    Block file;
    long long size = 0;
    code = ReadPrefix(f, CFileMDD::kMlcNamesAt + MLCHEADER::kMaxLoadCases * MLCHEADER::kNameSize, &file.p, &size);
    std::fclose(f);
    if (code == 0) code = ParseMLCHead(file.p, size, out);
  }
  if (code != 0) telio::SetLastError(code);
  return code == 0 ? 1 : 0;
}

int CFileMDD::ReadMLCLinked(const char* path) {
  if (!IsLinked()) return 0;
  int16_t* counts = mlc_.counts;
  const int read = ReadMLCHeader(path, mlc_);
  mlc_.counts = counts;
  if (!read) return 0;
  CPathObj side(path);
  side.ChangeEXT("RES");
  CFileRES res;
  if (res.Import(side.GetFullPath()) != 0) return 0;
  side.ChangeEXT("OUC");
  CFileOUC ouc;
  ouc.SetUseBmidx(true);
  ouc.Import(side.GetFullPath());
  return 1;
}

ulong32 CFileMDD::ReadMLCFrom(std::FILE* f) {
  memLC_.RemoveAll();
  std::memset(mlc_.data, 0, sizeof mlc_.data);
  if (mlc_.counts && capacity_ > 0) std::memset(mlc_.counts, 0, sizeof(int16_t) * static_cast<size_t>(capacity_));
  // Only the bytes some read can reach: the names, the counts and up to the
  // last member's last block.
  unsigned char head[4] = {};
  const size_t got = std::fread(head, 1, sizeof head, f);
  if (std::fseek(f, 0, SEEK_SET) != 0) return telio::kErrorFileCorrupt;
  const int rawA = got == 4 ? static_cast<int16_t>(telio::DecodeFixed16(head)) : 0;
  const int rawB = got == 4 ? static_cast<int16_t>(telio::DecodeFixed16(head + 2)) : 0;
  const long long a = std::max(0, std::min(rawA, MLCHEADER::kMaxLoadCases));
  const long long b = std::max(0, rawB);
  const long long want = std::max({kMlcNamesAt + a * static_cast<long long>(MLCHEADER::kNameSize),
                                   kMlcCountsAt + 2 * b,
                                   kMlcBlocksAt + kMlcMemberArea * std::max(0LL, b - 1) + kMlcBlock * a});
  Block file;
  long long size = 0;
  ulong32 code = ReadPrefix(f, want, &file.p, &size);
  if (code != 0) return code;
  if ((code = ParseMLCHead(file.p, size, mlc_)) != 0) return code;

  const int members = mlc_.Members();
  if (members > capacity_) return telio::kErrorFileCorrupt;
  const long long countsFit = std::min<long long>(members, std::max(0LL, (size - kMlcCountsAt) / 2));
  for (long long m = 0; m < countsFit; ++m) {
    mlc_.counts[m] = static_cast<int16_t>(telio::DecodeFixed16(file.p + kMlcCountsAt + 2 * m));
  }
  if (countsFit < members) return telio::kErrorHandleEof;
  for (int m = 0; m < members; ++m) {
    if (mlc_.counts[m] > kMaxPositions) return telio::kErrorFileCorrupt;
  }
  return BuildMemberTables(file.p, size, members, mlc_.LoadCases());
}

ulong32 CFileMDD::BuildMemberTables(const unsigned char* file, long long size, int members, int loadCases) {
  memLC_.SetSize(members);
  CArrayEx<CArrayEx<CArrayEx<float>>>* tables = memLC_.GetData();
  for (int m = 0; m < members; ++m) {
    const int n = std::max<int>(0, mlc_.counts[m]);
    const long long base = kMlcBlocksAt + kMlcMemberArea * static_cast<long long>(m);
    // The load cases whose block starts within the file.
    const int cases = size < base ? 0 : static_cast<int>(std::min<long long>(loadCases, (size - base) / kMlcBlock + 1));
    tables[m].SetSize(cases);
    CArrayEx<CArrayEx<float>>* perCase = tables[m].GetData();
    for (int c = 0; c < cases; ++c) {
      const long long block = base + kMlcBlock * static_cast<long long>(c);
      // Runs are read in kind order until one is cut by the end.
      const long long runBytes = 4LL * n;
      const int runs =
          runBytes == 0 ? kKinds : static_cast<int>(std::min<long long>(kKinds, (size - block) / runBytes));
      perCase[c].SetSize(n);
      CArrayEx<float>* positions = perCase[c].GetData();
      const unsigned char* at = file + block;
      for (int p = 0; p < n; ++p) {
        positions[p].SetSizeUninitialized(kKinds);
        float* v = positions[p].GetData();
        for (int k = 0; k < kKinds; ++k) v[k] = k < runs ? telio::DecodeFloat(at + runBytes * k + 4 * p) : 0.0f;
      }
    }
  }
  return 0;
}

ulong32 CFileMDD::ReadCNSFrom(std::FILE* f) {
  for (int s = 0; s < 2; ++s) {
    restraintWords_[s].RemoveAll();
    restraints_[s].RemoveAll();
  }
  const long long members = membersRead_;
  const long long blocksAt = kCnsSlot * static_cast<long long>(capacity_);
  Block file;
  long long size = 0;
  ulong32 code = ReadPrefix(f, blocksAt + 2 * kRestraintBlock * members, &file.p, &size);
  if (code != 0) return code;

  // Words: set 0 then set 1 of each member, 42 bytes each, from the start.
  const long long setBytes = kCnsSlot / 2;
  const long long wholeSets = std::min(2 * members, size / setBytes);
  for (int s = 0; s < 2; ++s) {
    const int count = static_cast<int>((wholeSets + 1 - s) / 2);
    restraintWords_[s].SetSize(count);
    for (int i = 0; i < count; ++i) {
      CArrayEx<short>& words = restraintWords_[s][i];
      words.SetSizeUninitialized(kRestraintWords);
      const unsigned char* at = file.p + kCnsSlot * i + setBytes * s;
      for (int w = 0; w < kRestraintWords; ++w) words[w] = static_cast<short>(telio::DecodeFixed16(at + 2 * w));
    }
  }
  if (wholeSets < 2 * members) return telio::kErrorHandleEof;

  const long long wholeBlocks = size < blocksAt ? 0 : std::min(2 * members, (size - blocksAt) / kRestraintBlock);
  for (int s = 0; s < 2; ++s) {
    const int count = static_cast<int>((wholeBlocks + 1 - s) / 2);
    restraints_[s].SetSize(count);
    for (int i = 0; i < count; ++i) {
      CArrayEx<CONSTRAINT>& set = restraints_[s][i];
      set.SetSize(kRestraintsPerSet);
      const unsigned char* at = file.p + blocksAt + kRestraintBlock * (2LL * i + s);
      for (int j = 0; j < kRestraintsPerSet; ++j) {
        std::memcpy(set[j].data, at + CONSTRAINT::kFileSize * j, CONSTRAINT::kFileSize);
      }
    }
  }
  return wholeBlocks < 2 * members ? ulong32{telio::kErrorHandleEof} : 0;
}

ulong32 CFileMDD::ReadLTBFrom(std::FILE* f) {
  ltbMembers_.RemoveAll();
  ltbRestraints_.RemoveAll();
  const long long members = membersRead_;
  const long long blocksAt = kCnsSlot * static_cast<long long>(capacity_);
  Block file;
  long long size = 0;
  ulong32 code = ReadPrefix(f, blocksAt + kLtbBlock * members, &file.p, &size);
  if (code != 0) return code;

  const long long whole =
      size < static_cast<long long>(CONSTRAINTS_LTB::kSize)
          ? 0
          : std::min(members, (size - static_cast<long long>(CONSTRAINTS_LTB::kSize)) / kCnsSlot + 1);
  ltbMembers_.SetSizeUninitialized(static_cast<int>(whole));
  for (int i = 0; i < whole; ++i) std::memcpy(ltbMembers_[i].data, file.p + kCnsSlot * i, CONSTRAINTS_LTB::kSize);
  if (whole < members) return telio::kErrorHandleEof;

  ltbRestraints_.SetSize(static_cast<int>(members));
  for (int i = 0; i < members; ++i) {
    const long long at = blocksAt + kLtbBlock * i;
    const long long n =
        size <= at ? 0 : std::min<long long>(kLtbRestraints, (size - at) / static_cast<long long>(LTB_CONS::kSize));
    CArrayEx<LTB_CONS>& records = ltbRestraints_[i];
    records.SetSizeUninitialized(static_cast<int>(n));
    if (n > 0) std::memcpy(records.GetData(), file.p + at, static_cast<size_t>(n) * LTB_CONS::kSize);
  }
  return 0;
}

ulong32 CFileMDD::ReadDB0From(std::FILE* f) {
  for (DB0Table& t : db0_) t.RemoveAll();
  Block file;
  long long size = 0;
  ulong32 code = ReadPrefix(f, LLONG_MAX, &file.p, &size);
  if (code != 0) return code;
  if (size < kDb0Header) return telio::kErrorHandleEof;
  const long long records = (size - kDb0Header) / kDb0Record;

  struct Record {
    int table, i, j, k;
    float value;
  };
  auto decode = [&file](long long r, Record* out) {
    const unsigned char* at = file.p + kDb0Header + kDb0Record * r;
    const int word = static_cast<int16_t>(telio::DecodeFixed16(at));
    static const int kCodes[kDb0Tables] = {1, 2, 4, 8, 16, 32};  // BmFz, BmFy, Bmlt, C1, C2, C3
    out->table = -1;
    for (int t = 0; t < kDb0Tables; ++t) {
      if (kCodes[t] == word) out->table = t;
    }
    out->i = static_cast<int16_t>(telio::DecodeFixed16(at + 2));
    out->j = static_cast<int16_t>(telio::DecodeFixed16(at + 4));
    out->k = static_cast<int16_t>(telio::DecodeFixed16(at + 6));
    out->value = telio::DecodeFloat(at + 8);
    return out->table >= 0;
  };

  // The three levels are sized before they are filled, so no level holding
  // arrays ever moves them; the memory they may take is bounded first.
  const long long budget = kDb0Budget + kDb0BudgetPerByte * size;
  long long used = 0;
  bool invalid = false;
  int rows[kDb0Tables] = {};
  Record rec;
  for (long long r = 0; r < records; ++r) {
    if (!decode(r, &rec)) continue;
    if (rec.i < 1 || rec.j < 1 || rec.k < 1) {
      invalid = true;
      continue;
    }
    rows[rec.table] = std::max(rows[rec.table], rec.i);
  }
  long long allRows = 0;
  for (int t = 0; t < kDb0Tables; ++t) allRows += rows[t];
  used += allRows * static_cast<long long>(sizeof(CArrayEx<CArrayEx<float>>));
  if (used > budget) return telio::kErrorFileCorrupt;

  Block columns;  // per table and row: the largest j
  columns.p = static_cast<unsigned char*>(telio::Calloc(static_cast<size_t>(std::max(allRows, 1LL)), sizeof(long32)));
  if (!columns.p) return telio::kErrorNotEnoughMemory;
  long32* cols = reinterpret_cast<long32*>(columns.p);
  long long rowAt[kDb0Tables];
  for (int t = 0, at = 0; t < kDb0Tables; at += rows[t], ++t) rowAt[t] = at;
  for (long long r = 0; r < records; ++r) {
    if (!decode(r, &rec) || rec.i < 1 || rec.j < 1 || rec.k < 1) continue;
    long32& c = cols[rowAt[rec.table] + rec.i - 1];
    c = std::max<long32>(c, rec.j);
  }
  for (long long r = 0; r < allRows; ++r) used += cols[r] * static_cast<long long>(sizeof(CArrayEx<float>));
  if (used > budget) return telio::kErrorFileCorrupt;

  for (int t = 0; t < kDb0Tables; ++t) {
    db0_[t].SetSize(rows[t]);
    for (int i = 0; i < rows[t]; ++i) db0_[t][i].SetSize(cols[rowAt[t] + i]);
  }
  for (long long r = 0; r < records; ++r) {
    if (!decode(r, &rec) || rec.i < 1 || rec.j < 1 || rec.k < 1) continue;
    CArrayEx<float>& cell = db0_[rec.table][rec.i - 1][rec.j - 1];
    if (cell.GetSize() < rec.k) {
      used += (rec.k - cell.GetSize()) * static_cast<long long>(sizeof(float));
      if (used > budget) {
        invalid = true;
        continue;
      }
      cell.SetSize(rec.k);
    }
    cell[rec.k - 1] = rec.value;
  }
  return invalid ? ulong32{telio::kErrorFileCorrupt} : 0;
}

int CFileMDD::ValidateLink(bool* outOfMemory) {
  *outOfMemory = false;
  if (!IsLinked()) return 0;
  CFileJOB run;
  ulong32 code = run.Import(LinkedPath("JOB").GetString());
  if (code != 0) {
    *outOfMemory = code == telio::kErrorNotEnoughMemory;
    return 0;
  }
  if (run.GetRunStatus(0) == 0 && run.GetRunStatus(1) == 0 && run.RunSpectral() == 0) return 0;
  CFileCMI cmi;
  const ulong32 cmiCode = cmi.Import(LinkedPath("CMI").GetString());
  std::unique_ptr<CFileACE> ace(new CFileACE);
  ace->Import(LinkedPath("ACE").GetString());
  CFileNAM nam;
  const ulong32 namCode = nam.Import(LinkedPath("NAM").GetString());
  *outOfMemory = cmiCode == telio::kErrorNotEnoughMemory || namCode == telio::kErrorNotEnoughMemory;
  return cmiCode == 0 && namCode == 0 ? 1 : 0;
}

int CFileMDD::ValidateLinkJob() {
  bool outOfMemory = false;
  return ValidateLink(&outOfMemory);
}

int CFileMDD::GetBeamsPerMemberPos(int member) const {
  if (!firstPosition_ || member < 0 || member >= membersRead_) return 0;
  return firstPosition_[member];
}

int CFileMDD::BeamsPerMemberPos(int position) const {
  if (!positionBeams_ || position < 0 || position >= totalPositions_ || position >= positionSlots_) return 0;
  return positionBeams_[position];
}

Point3D* CFileMDD::GetPointAt(int i) {
  return i >= 0 && i < points_.GetSize() ? &points_.GetData()[i] : nullptr;
}

TOPOStructs::NODE_REC* CFileMDD::GetNode(int n) const {
  const TOPOStructs::TOPO_REC* t = topology_.GetTOPO_REC();
  return t && n >= 1 ? CTOPO_REC::GetNode(t->nodes, n) : nullptr;
}

CFileMDD::RestraintWords* CFileMDD::GetConstraintsX(int set) {
  return set == 0 || set == 1 ? &restraintWords_[set] : nullptr;
}

CFileMDD::Restraints* CFileMDD::GetConstraints(int set) {
  return set == 0 || set == 1 ? &restraints_[set] : nullptr;
}
