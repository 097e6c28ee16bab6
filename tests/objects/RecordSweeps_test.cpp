// Every record kind of the design model, cut at every byte and loaded under
// failing allocations: each load fails with its code and leaks nothing;
// loaded whole, saved and loaded again, it compares equal and keeps its
// checksum. Each family's sample records also seed its fuzz target.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "objects/data/CICompositeData.h"
#include "objects/data/CIConstraintLst.h"
#include "objects/data/CIEtaData.h"
#include "objects/data/CIGradeData.h"
#include "objects/data/CILTBLst.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/data/CISectionElement.h"
#include "objects/data/CISectionLst.h"
#include "objects/data/CITegidaData.h"
#include "objects/elements/CEMember.h"
#include "objects/elements/CENode.h"
#include "objects/geometry/CGDistance.h"
#include "objects/geometry/CGLineLst.h"
#include "support/DataRecords.h"
#include "support/LoadCaseRecords.h"
#include "support/ObjectRecords.h"
#include "support/RecordSweep.h"

using namespace GEOMETRY_OBJECTS;
using namespace ELEMENT_OBJECTS;
using namespace TELMARO_DATA_OBJECTS;
using namespace MATERIAL_OBJECTS;

namespace {

template <class T, class = void>
struct HasIsEqualWith : std::false_type {};
template <class T>
struct HasIsEqualWith<T, std::void_t<decltype(std::declval<const T&>().IsEqualWith(std::declval<const T*>()))>>
    : std::true_type {};
template <class T, class = void>
struct HasElementByElement : std::false_type {};
template <class T>
struct HasElementByElement<T, std::void_t<decltype(std::declval<const T&>().IsEqualElementByElement(
                                  std::declval<const T&>()))>> : std::true_type {};

// The class's own comparison: IsEqualWith, or element by element for lists.
template <class T>
void ExpectEqual(const T& a, const T& b) {
  if constexpr (HasIsEqualWith<T>::value) {
    EXPECT_TRUE(a.IsEqualWith(&b));
  } else if constexpr (HasElementByElement<T>::value) {
    EXPECT_TRUE(a.IsEqualElementByElement(b));
  }
}

// Loads a record into an object made by make(); with check, saves it and
// checks that the saved bytes load to an equal object with the same
// checksum.
template <class Make>
bool Load(FILE* f, bool check, Make make) {
  auto object = make();
  if (!object->Serialize(f, true)) return false;
  if (check) {
    auto again = make();
    const std::vector<uint8_t> saved = telio_test::SavedRecord(*object);
    EXPECT_TRUE(telio_test::LoadRecord(*again, saved));
    ExpectEqual(*again, *object);
    EXPECT_EQ(object->CheckSum(), again->CheckSum());
  }
  return true;
}

template <class T>
std::unique_ptr<T> Make() {
  return std::unique_ptr<T>(new T);
}

// Lists that measure along a line get one of length 10.
template <class T>
bool LoadOnLine(FILE* f, bool check) {
  CGLine line(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
  return Load(f, check, [&line]() { return std::unique_ptr<T>(new T(&line)); });
}

bool LoadGeometry(uint8_t kind, FILE* f, bool check) {
  switch (kind) {
    case 0: return Load(f, check, Make<CGPoint>);
    case 1: return Load(f, check, Make<CGPointLst>);
    case 2: return Load(f, check, Make<CGLine>);
    case 3: return Load(f, check, Make<CGLineLst>);
    case 4: {
      CGLine line(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
      return Load(f, check, [&line]() { return std::unique_ptr<CGDistanceLst>(new CGDistanceLst(&line, 0x1FF)); });
    }
    case 5: return Load(f, check, Make<CEElement>);
    case 6: return Load(f, check, Make<CENode>);
    case 7: return Load(f, check, Make<CEBeam>);
    default: return Load(f, check, Make<CEMember>);
  }
}

bool LoadDesignData(uint8_t kind, FILE* f, bool check) {
  switch (kind) {
    case 0: return Load(f, check, Make<CISectionData>);
    case 1: return Load(f, check, Make<CISectionElement>);
    case 2: return Load(f, check, Make<CIGradeData>);
    case 3: return Load(f, check, Make<CMaterialData>);
    case 4: return Load(f, check, Make<CStudsData>);
    case 5: return Load(f, check, Make<CICompositeData>);
    case 6: return Load(f, check, Make<CITegidaData>);
    case 7: return Load(f, check, Make<CIEtaData>);
    default: return Load(f, check, Make<CISectionLst>);
  }
}

bool LoadLoadCases(uint8_t kind, FILE* f, bool check) {
  switch (kind) {
    case 0: return Load(f, check, Make<CILoadCase>);
    case 1: return Load(f, check, Make<CILoadCaseValues>);
    case 2: return Load(f, check, Make<CILoadCaseLstSyn>);
    case 3: return Load(f, check, Make<CILoadCaseValuesLst>);
    case 4: return Load(f, check, Make<CILTB>);
    case 5: return Load(f, check, Make<CILTBData>);
    case 6: return LoadOnLine<CILTBLst>(f, check);
    case 7: return Load(f, check, Make<CIConstraint>);
    case 8: return Load(f, check, Make<CIConstraintData>);
    case 9: return LoadOnLine<CIConstraintLst>(f, check);
    case 10: return Load(f, check, Make<CILTBLCValues>);
    default: return Load(f, check, Make<CIConstraintLCValues>);
  }
}

struct Family {
  const char* name;     // also the fuzz target's corpus folder
  telio_test::NamedSamples (*samples)();
  bool (*load)(uint8_t kind, FILE* f, bool check);
};

const Family kFamilies[] = {
    {"geometry", telio_test::SampleObjectRecords, LoadGeometry},
    {"designdata", telio_test::SampleDataRecords, LoadDesignData},
    {"loadcases", telio_test::SampleLoadCaseRecords, LoadLoadCases},
};

typedef std::tuple<int, std::string> SweepParam;

class RecordSweep : public ::testing::TestWithParam<SweepParam> {
 protected:
  const Family& family() const { return kFamilies[std::get<0>(GetParam())]; }
  telio_test::ByteWriter Sample() const { return telio_test::SampleNamed(family().samples(), std::get<1>(GetParam())); }
  telio_test::KindLoader Loader(bool check) const {
    auto load = family().load;
    return [load, check](uint8_t kind, FILE* f) { return load(kind, f, check); };
  }
};

TEST_P(RecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  const telio_test::ByteWriter sample = Sample();
  ASSERT_TRUE(telio_test::LoadSamplePrefix(sample, sample.size() - 1, Loader(true)));
  telio_test::ExpectCutsFailWithEndOfFile(sample, Loader(false));
}

TEST_P(RecordSweep, FailedAllocationGivesNotEnoughMemory) {
  telio_test::ExpectFailedAllocationsGiveNotEnoughMemory(Sample(), Loader(false));
}

std::vector<SweepParam> AllSamples() {
  std::vector<SweepParam> all;
  for (int i = 0; i < static_cast<int>(sizeof kFamilies / sizeof kFamilies[0]); ++i) {
    for (const std::string& name : telio_test::SampleNames(kFamilies[i].samples())) all.emplace_back(i, name);
  }
  return all;
}

INSTANTIATE_TEST_SUITE_P(Records, RecordSweep, ::testing::ValuesIn(AllSamples()),
                         [](const ::testing::TestParamInfo<SweepParam>& param) {
                           std::string name = std::string(kFamilies[std::get<0>(param.param)].name) + "_" +
                                              std::get<1>(param.param);
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

// Each fuzz target's corpus holds its family's samples as they are now;
// TELIO_WRITE_SEEDS=1 rewrites them.
TEST(RecordSamples, SeedCorporaFollowTheSamples) {
  for (const Family& f : kFamilies) {
    telio_test::ExpectSeedCorpus(std::string(TELIO_SOURCE_DIR "/fuzz/corpus/") + f.name + "/", f.samples());
  }
}

}  // namespace
