// CFileACE: which combinations and envelopes of an analysis job are active
// (extension "ACE").
//
// File layout: four lists of u16 words one after another:
//   combination activation (801), envelope activation (10001),
//   combination positions (801), envelope positions (10001).
// A file of exactly 808 bytes is the older form, with 101 words in each
// list.
//
// Activation list entry i (1..800 or 1..10000): the activation value of
// combination or envelope i, 0xFFFF when it is not in the active set.
// Position list entry 0: a count m; entries 1..m: the positions that belong
// to the second kind. FindActiveCE builds the flag tables from both: per
// position 0xFFFF free, 2 second kind, otherwise the activation value
// (1 = active).
//
// The tables (about 86 KB) live in one heap block allocated with the
// object; when that allocation failed, Import, Export and the activation
// calls give 8 or do nothing, and every lookup answers 0.
#pragma once

#include <cstdint>

#include "files/CFileBase.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileACE : public CFileBase {
 public:
  static constexpr int kCmbListSize = 801;
  static constexpr int kEnvListSize = 10001;
  static constexpr int kOldListSize = 101;
  static constexpr long32 kOldFileSize = 808;
  static constexpr int kCmbFlags = 2 * kCmbListSize - 1;  // positions 1..1601
  static constexpr int kEnvFlags = 2 * kEnvListSize - 1;  // positions 1..20001
  static constexpr uint16_t kInactive = 0xFFFF;
  static constexpr uint16_t kSecondKind = 2;

  CFileACE();
  CFileACE(const CFileACE&) = delete;
  CFileACE& operator=(const CFileACE&) = delete;
  ~CFileACE() override;

  // Closes the object and records path (when given) without checking it.
  // Always 1.
  int NewFile(const char* path) override;
  // Reads the four lists (sizes by the file's length) and builds the flag
  // tables. 38 when the file ends inside a list: the words read are kept
  // and the flags built from them.
  ulong32 Import(const char* path) override;
  // Writes the four lists in the current sizes; 1 for a null path. A failed
  // export leaves an existing file as it was.
  ulong32 Export(const char* path) override;
  // Empties the path and resets the tables.
  void Close() override;

  // Activates (on nonzero) or deactivates the entries from max(from, 1) to
  // `to` (-1, or any index past the list, meaning the list's end) and
  // clears their position entries, then rebuilds the flags.
  void ActivateCmb(int on, int from, int to);
  void ActivateEnv(int on, int from, int to);
  // 1 when a path is recorded, i lies in 1..1601 (combinations) or
  // 1..20001 (envelopes) and its flag is 1.
  int IsActiveCombination(int i) const;
  int IsActiveEnvelope(int i) const;
  int GetActiveCombinations() const { return activeCmb_; }
  int GetActiveEnvelopes() const { return activeEnv_; }
  // Position (counting active and second-kind entries) of the k-th active
  // combination or envelope in `real`; 1 on success, 0 when no path is
  // recorded, k is out of range or nothing is active.
  int FindRealIndexActiveCombination(int k, int& real);
  int FindRealIndexActiveEnvelope(int k, int& real);

  // The list sizes of the last import or export (0 after a reset).
  int GetCmbListSize() const { return cmbListSize_; }
  int GetEnvListSize() const { return envListSize_; }
  // Raw table entries; 0 outside a table.
  uint16_t CmbActivation(int i) const { return At(cmbAct_, kCmbListSize, i); }
  uint16_t EnvActivation(int i) const { return At(envAct_, kEnvListSize, i); }
  uint16_t CmbPosition(int i) const { return At(cmbPos_, kCmbListSize, i); }
  uint16_t EnvPosition(int i) const { return At(envPos_, kEnvListSize, i); }
  uint16_t CmbFlag(int i) const { return At(cmbFlags_, kCmbFlags + 1, i); }
  uint16_t EnvFlag(int i) const { return At(envFlags_, kEnvFlags + 1, i); }

  // Rebuilds the flag tables and the active counts from the lists.
  void FindActiveCE();

 protected:
  void InitACE();

 private:
  static uint16_t At(const uint16_t* table, int size, int i) {
    return table && i >= 0 && i < size ? table[i] : 0;
  }
  bool HasTables() const { return block_ != nullptr; }

  uint16_t* block_ = nullptr;
  uint16_t* cmbAct_ = nullptr;
  uint16_t* envAct_ = nullptr;
  uint16_t* cmbPos_ = nullptr;
  uint16_t* envPos_ = nullptr;
  uint16_t* cmbFlags_ = nullptr;
  uint16_t* envFlags_ = nullptr;
  int cmbListSize_ = 0;
  int envListSize_ = 0;
  int activeCmb_ = 0;
  int activeEnv_ = 0;
};
