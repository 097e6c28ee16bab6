#include "sections/SectionObjectBridge.h"

#include <new>

#include "connections/MapObjectsBuilderTool.h"
#include "objects/data/CISectionElement.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"
#include "sections/CSectionsDBDlg.h"
#include "sections/SectionFamilies.h"
#include "sections/SectionsTools/SMDB.h"

using GE_::Safe::PtrStrong;
using namespace TELMARO_DATA_OBJECTS;

const int kSectionObjValueKeys[25] = {511, 525, 526, 512, 527, 515, 516, 572, 574, 573, 575, 576, 517,
                                      518, 505, 506, 501, 950, 951, 508, 507, 502, 503, 504, 952};
static_assert(kSectionValueCount == 25, "one key per section element value");

namespace {

bool IsTopologyFamily(int family) {
  return family == 80 || family == 81 || family == 103 || family == 104 || family == 108 || family == 109;
}

void RemoveSectionData(CConElmData_base& obj) {
  obj.RemoveIData(kSectionObjFamilyKey);
  obj.RemoveIData(kSectionObjCatalogueKey);
  obj.RemoveIData(kSectionObjSubKey);
  obj.RemoveStrData(kSectionObjNameKey);
  for (int key : kSectionObjValueKeys) obj.RemoveFData(key);
}

// The catalogue section's values by SectionValue; has[i] false for the
// values it leaves out.
void CatalogueValues(const CSectionData& d, double v[kSectionValueCount], bool has[kSectionValueCount]) {
  for (int i = 0; i < kSectionValueCount; ++i) {
    v[i] = 0;
    has[i] = true;
  }
  v[kHeightFront] = v[kHeightBack] = d.h;
  v[kWidthDown] = d.b;
  v[kTFlangeDown] = d.tf;
  has[kWidthUp] = has[kTFlangeUp] = false;
  if (d.shape == kShapeWeldedI) {
    v[kWidthUp] = d.b;
    v[kTFlangeUp] = d.tf;
    v[kWidthDown] = d.b2;
    v[kTFlangeDown] = d.tf2;
    has[kWidthUp] = has[kTFlangeUp] = true;
  }
  v[kTWeb] = d.tw;
  v[kCParam] = d.shape == kShapeDoubleAngle ? d.spacing : 0.0;
  v[kRadIn] = d.r1;
  v[kRadOut] = d.r2;
  v[kEy] = d.ey;
  v[kEz] = d.ez;
  v[kAx] = d.A;
  v[kAy] = d.Avy;
  v[kAz] = d.Avz;
  v[kIt] = d.It;
  v[kIy] = d.Iy;
  v[kIz] = d.Iz;
  v[kWel] = d.Wely;
  v[kWpl] = d.Wply;
  v[kG] = d.G;
}

// Fills obj, building the new content aside first so that a failure
// (memory) leaves obj as it was.
int Fill(CConElmData_base& obj, int family, int sub, ulong32 key, const CString& name, const CSectionData* data) {
  try {
    CConElmData_base filled(obj);
    RemoveSectionData(filled);
    filled.SetIData(kSectionObjFamilyKey, family);
    filled.SetIData(kSectionObjCatalogueKey, static_cast<long32>(key));
    filled.SetIData(kSectionObjSubKey, sub);
    filled.SetStrData(kSectionObjNameKey, name);
    if (data) {
      double v[kSectionValueCount];
      bool has[kSectionValueCount];
      CatalogueValues(*data, v, has);
      for (int i = 0; i < kSectionValueCount; ++i) {
        if (has[i]) filled.SetFData(kSectionObjValueKeys[i], v[i]);
      }
    }
    obj.EqualTo(filled);
    return 1;
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException*) {
  }
  telio::SetLastError(telio::kErrorNotEnoughMemory);
  return 0;
}

}  // namespace

CSectionFiles* GetSMDBKernelCatalogue() {
  const CString folder(szGDirs);
  if (folder.IsEmpty() || !CPathObj(folder).ExistsPath()) {
    telio::SetLastError(telio::kErrorPathNotFound);
    return nullptr;
  }
  return GetSMDBSectionFiles(folder);
}

int StoreSMDBSectionID(CConElmData_base* obj, int family, int sub, ulong32 key, TOP_SEC* sec) {
  if (!obj) return 0;
  if (key == 0 && family == 0) {
    RemoveSectionData(*obj);
    return 1;
  }
  if (sec && IsTopologyFamily(family)) return Fill(*obj, family, sub, key, sec->Name(), nullptr);
  const CSectionFiles* catalogue = GetSMDBKernelCatalogue();
  if (!catalogue) return 0;
  CSectionData data;
  const bool found = key != 0 ? catalogue->GetSectionData(key, &data) != 0
                              : catalogue->GetSectionData(family, sub - 1, &data) != 0;
  if (!found) return 0;
  return Fill(*obj, family, sub, data.key, data.Name(), &data);
}

int StoreSMDBSectionID(MEM_REC* member, int family, int sub, ulong32 key, TOP_SEC* sec) {
  if (!member) return 0;
  try {
    CConElmData_base obj;
    if (!StoreSMDBSectionID(&obj, family, sub, key, sec)) return 0;
    if (key == 0 && family == 0) {
      member->SetFamily(0);
      member->SetCatalogueKey(0);
      member->SetSubNumber(0);
      member->SetSectionName("");
      return 1;
    }
    return MapObjectsBuilderTool::Restore_SectionObj(&obj, member);
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException*) {
  }
  telio::SetLastError(telio::kErrorNotEnoughMemory);
  return 0;
}

PtrStrong<CConElmData_base> GetSMDBSectionDataObj(int family, int sub, ulong32 key, TOP_SEC* sec) {
  const bool topology = family == 80 || family == 81 || family == 104 || family == 108 || family == 109;
  if (topology ? sec == nullptr : (key == 0 && sub == 0)) return PtrStrong<CConElmData_base>();
  try {
    PtrStrong<CConElmData_base> obj(new CConElmData_base);
    obj->SetIData(CConElmData_base::kIdentifierKey, kSectionObjForm);
    obj->SetIData(CConElmData_base::kTypeKey, kSectionObjForm);
    if (!StoreSMDBSectionID(obj.GetPtr(), family, sub, key, sec)) return PtrStrong<CConElmData_base>();
    return obj;
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException*) {
  }
  telio::SetLastError(telio::kErrorNotEnoughMemory);
  return PtrStrong<CConElmData_base>();
}

int SelectSMDBSectionDlg(CConElmData_base* obj) {
  if (!obj) return 0;
  const CSectionFiles* catalogue = GetSMDBKernelCatalogue();
  if (!catalogue) return 0;
  CSectionsDBDlg dlg(catalogue);
  dlg.SetFilesPath(catalogue->GetFolder());
  SectionSearch search;
  search.family = obj->GetIDataValue(kSectionObjFamilyKey);
  search.key = static_cast<ulong32>(obj->GetIDataValue(kSectionObjCatalogueKey));
  search.sub = obj->GetIDataValue(kSectionObjSubKey);
  search.filter = obj->GetIDataValue(kSectionObjFilterKey);
  dlg.SetSectionSearch(search);
  dlg.SetLanguage(GetUILang());
  if (dlg.DoModal() != CSectionsDBDlg::IDOK) return 0;
  return StoreSMDBSectionID(obj, dlg.GetOldTelmaroFamilyIndex(), dlg.GetCurrentSubNumber(),
                            dlg.GetCurrentSectionData().key, nullptr);
}

PtrStrong<CConElmData_base> GetSectionObjFromData(const PtrStrong<CISectionData>& data) {
  if (data.IsNull()) return PtrStrong<CConElmData_base>();
  try {
    PtrStrong<CConElmData_base> obj(new CConElmData_base);
    const long32 key = static_cast<long32>(data->Section());
    obj->SetIData(CConElmData_base::kIdentifierKey, key);
    obj->SetIData(kSectionObjCatalogueKey, key);
    obj->SetIData(CConElmData_base::kTypeKey, kSectionObjForm);
    obj->SetIData(kSectionObjFamilyKey, static_cast<long32>(data->Family()));
    obj->SetIData(kSectionObjSubKey, static_cast<long32>(data->Profile()));
    obj->SetStrData(kSectionObjNameKey, data->Name());
    if (const auto* element = dynamic_cast<const CISectionElement*>(data.GetPtr())) {
      for (int i = 0; i < kSectionValueCount; ++i) obj->SetFData(kSectionObjValueKeys[i], element->GetSectionValue(i));
    }
    return obj;
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException*) {
  }
  telio::SetLastError(telio::kErrorNotEnoughMemory);
  return PtrStrong<CConElmData_base>();
}

PtrStrong<CISectionData> GetSectionDataFromObj(const CConElmData_base* obj) {
  if (!obj) return PtrStrong<CISectionData>();
  double v[kSectionValueCount];
  for (int i = 0; i < kSectionValueCount; ++i) v[i] = obj->GetFDataValue(kSectionObjValueKeys[i]);
  if (!obj->GetFData(kSectionObjValueKeys[kTFlangeUp])) v[kTFlangeUp] = v[kTFlangeDown];
  if (!obj->GetFData(kSectionObjValueKeys[kWidthUp])) v[kWidthUp] = v[kWidthDown];
  CISectionElement* element = new (std::nothrow) CISectionElement;
  if (!element) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return PtrStrong<CISectionData>();
  }
  PtrStrong<CISectionData> result(element);
  element->SetSection(
      static_cast<ulong32>(obj->GetIDataValue(kSectionObjCatalogueKey)),
      static_cast<ulong32>(obj->GetIDataValue(kSectionObjFamilyKey)), obj->GetStrDataValue(kSectionObjNameKey),
      0.0, v[kHeightFront], v[kHeightBack], v[kWidthUp], v[kWidthDown], v[kTFlangeUp], v[kTFlangeDown], v[kTWeb],
      v[kRadIn], v[kRadOut], v[kEy], v[kEz], v[kAx], v[kAy], v[kAz], v[kIt], v[kIy], v[kIz], v[kWel], v[kWpl],
      static_cast<ulong32>(obj->GetIDataValue(kSectionObjSubKey)), v[kCParam], v[kAngleIn], v[kAngleOut],
      v[kHcParam], v[kHeParam]);
  element->SetSectionWeight(v[kG]);
  return result;
}

int RefreshSMDBSectionObj(CConElmData_base* obj) {
  if (!obj) return 0;
  CSectionFiles* catalogue = GetSMDBKernelCatalogue();
  if (!catalogue) return 0;
  const CString name = obj->GetStrDataValue(kSectionObjNameKey);
  const int family = obj->GetIDataValue(kSectionObjFamilyKey);
  const int sub = obj->GetIDataValue(kSectionObjSubKey);
  ulong32 key = catalogue->FindSection(name);
  if (key == 0 && (family == 99 || IsL2Section(family))) key = InsertSMDBDoubleAngle(catalogue, name);
  if (key == 0) return 0;
  return StoreSMDBSectionID(obj, family, sub, key, nullptr);
}
