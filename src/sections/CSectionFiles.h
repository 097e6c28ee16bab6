// The section catalogue: every section of the catalogue files of a folder,
// with its key, family, name, dimensions and computed properties.
//
// Catalogue files ("*.SEC", any letter case) are line-based text:
//
//   +------------------------------------------------------------------+
//   | TELIO-SEC 2                      version line, always the first  |
//   | # comment                        '#' lines and blank lines skipped|
//   | <kind> <key> <family> <name> <dimension> ...                     |
//   | ...                              one section per line            |
//   +------------------------------------------------------------------+
//
// Fields are separated by blanks (spaces or tabs); a line ends with LF or
// CR LF. <key> is the section's catalogue key, a decimal 1 to 4294967295,
// unique across all files of the folder: the analysis files store it, so it
// never changes once given. <family> is the section family id (1 to 999).
// <name> is the section's name without blanks, at most 31 characters,
// unique across the folder ignoring letter case. Dimensions are decimal
// numbers in mm, their count and meaning fixed by the kind:
//
//   kind  dimensions                              shape
//   I     h b tw tf r                             rolled I or H, parallel flanges
//   W     h b tf b2 tf2 tw                        welded I (top, then bottom flange)
//   U     h b tw tf r1 r2 slope u                 channel; tf at u from the toe
//                                                 (0: b/2), slope in %
//   L     h b t r1 r2                             angle (legs h and b)
//   T     h b tw tf r                             tee, flange on top
//   CHS   d t                                     circular hollow
//   RHS   h b t ro ri                             rectangular or square hollow
//   RB    d                                       round bar
//   FB    h b                                     flat or square bar
//   2L    angle arrangement spacing               a pair of the catalogue's angle
//                                                 <angle> (named), arrangement
//                                                 1 B, 2 S, 3 L, 4 D; spacing mm
//
// Versions, frozen: 1 has no u on U lines (tf is at b/2); 2 adds it, for
// the channels whose tables give tf elsewhere. Both are read. The user file
// is started as version 1: its 2L lines are the same in both, so readers
// that know only version 1 still read it.
//
// Properties are not stored: they are computed from the dimensions when a
// file is read (sections/SectionProperties.h), so a file cannot hold values
// that disagree with its own dimensions.
//
// Reading checks every line; the first bad one fails the load with the
// code 1392 and a message naming the file, line and fault (unknown kind,
// missing or extra field, bad number, dimensions that make no section, key
// or name used twice, double angle of an unknown angle). Files are read
// whole, at most kMaxCatalogueFileSize bytes each; lines are at most
// kMaxCatalogueLine characters; a folder holds at most kMaxCatalogueFiles
// files and kMaxCatalogueSections sections.
//
// Double angles added with InsertCompositeSection are appended as "2L"
// lines to the file kUserCatalogueFile of the loaded folder (made when
// missing), so they are there when the catalogue is next loaded.
#pragma once

#include <cstddef>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "sections/CSectionData.h"

constexpr int kCatalogueVersion = 2;
constexpr int kOldestCatalogueVersion = 1;
constexpr const char* kCatalogueMagic = "TELIO-SEC";
constexpr std::size_t kMaxCatalogueFileSize = 8u << 20;
constexpr int kMaxCatalogueLine = 512;
constexpr int kMaxCatalogueFiles = 256;
constexpr int kMaxCatalogueSections = 200000;
constexpr const char* kUserCatalogueFile = "USER2L.SEC";
// Keys given to inserted double angles start here, above the keys of the
// shipped files.
constexpr ulong32 kFirstUserKey = 1000000;

// The number of values MatchSectionData compares.
constexpr int kMatchValues = 7;

class TELIO_EXPORT CSectionFiles {
 public:
  CSectionFiles();
  ~CSectionFiles();
  CSectionFiles(const CSectionFiles&) = delete;
  CSectionFiles& operator=(const CSectionFiles&) = delete;

  // Loads every file that the pattern names: a folder and a last component
  // with the wildcards '*' and '?' ("<suite>\\FilesSectionDB\\*.SEC"),
  // matched ignoring letter case; files are read in name order. Replaces
  // what was loaded. Returns 0, or: 160 for a null or empty pattern, 3 when
  // the folder does not exist, 2 when no file matches, 1392 for a bad file
  // (see GetLoadError), 8 when memory is short, or the system's code when a
  // file cannot be read. On failure the catalogue is empty. The code is
  // also the thread's last error.
  ulong32 Load(const char* pattern);
  // Empties the catalogue and the filter.
  void Clear();

  bool IsLoaded() const { return loaded_; }
  // The folder the catalogue was loaded from (native separators).
  CString GetFolder() const { return folder_; }
  // "<file>:<line>: <fault>" for the last failed load; empty otherwise.
  CString GetLoadError() const { return error_; }
  int GetFileCount() const { return fileCount_; }
  // The name (without folder) of catalogue file i; empty outside.
  CString GetFileName(int i) const;

  // Every section in file order, then inserted double angles.
  int GetCount() const { return count_; }
  const CSectionData* GetAt(int i) const { return (i >= 0 && i < count_) ? &sections_[i] : nullptr; }

  // The section with this key: 1 and *out filled, or 0 (out untouched).
  int GetSectionData(ulong32 key, CSectionData* out) const;
  // The index-th section (from 0) of the family, in catalogue order.
  int GetSectionData(int family, int index, CSectionData* out) const;
  // Empty / 0 for an unknown key.
  CString GetSectionName(ulong32 key) const;
  int GetSectionCatalogID(ulong32 key) const;
  // The key of the named section (letter case ignored), 0 when none.
  ulong32 FindSection(const char* name) const;
  bool ExistSection(const char* name) const { return FindSection(name) != 0; }

  // The first section, of the family (any when 0) and passing the profile
  // filter, whose match values all lie within tolerance (relative, 1%
  // unless given) of values. A value of 0 or less in values is not
  // compared. Match values: h, b, tw, tf, r1 in cm, A and Avz in cm2.
  // 0 when none matches.
  ulong32 MatchSectionData(const double values[kMatchValues], int family = 0,
                           double tolerance = 0.01) const;
  static void GetMatchValues(const CSectionData& data, double values[kMatchValues]);

  // Adds (or finds) the pair of the single angle of family singleFamily
  // (31 or 32) named singleName, in the arrangement (1 to 4) at the
  // spacing (mm), and returns its key. The single angle is found by its
  // name, or when the name is not a catalogue name by the legs and
  // thickness it spells ("L%dx%dx%f"). A pair that exists already gives its
  // key. A new pair is named "2L<legs>x<t><B|S|L|D>/<spacing>", gets family
  // 33 (arrangements 1 and 4), 34 (3) or 35 (2), and is appended to the
  // user file of the folder; when that write fails the pair stays in
  // memory and the thread's last error tells why. 0 (last error 160) for an
  // unknown angle, a bad arrangement or spacing, or no loaded catalogue;
  // 8 when memory is short.
  ulong32 InsertCompositeSection(int singleFamily, const char* singleName, int arrangement,
                                 double spacing);

  // The families offered to selection and matching. An empty filter lets
  // every family through.
  void AddProfileToFilter(int family);
  void ClearProfileFilter();
  bool IsInFilter(int family) const;
  int GetFilterCount() const { return filterCount_; }

 private:
  ulong32 LoadOne(const char* path, int fileIndex);
  ulong32 ParseLine(char* line, int lineNo, int fileIndex, int version);
  ulong32 Append(const CSectionData& data);
  ulong32 ResolvePairs();
  ulong32 BuildIndexes();
  const CSectionData* FindSingleAngle(int family, const char* name) const;
  const CSectionData* ByKey(ulong32 key) const;
  ulong32 Fail(ulong32 code, const CString& message);
  CString Where(int fileIndex, int line) const;
  ulong32 WriteUserLine(const CSectionData& pair) const;

  CSectionData* sections_ = nullptr;
  int count_ = 0;
  // Section indexes sorted by key and by name (letter case ignored).
  int* byKey_ = nullptr;
  int* byName_ = nullptr;
  int capacity_ = 0;
  CString folder_;
  CString files_[kMaxCatalogueFiles];
  int fileCount_ = 0;
  CString error_;
  bool loaded_ = false;
  ulong32 nextUserKey_ = kFirstUserKey;
  int filter_[64] = {};
  int filterCount_ = 0;
};
