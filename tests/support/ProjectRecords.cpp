#include "ProjectRecords.h"

#include "support/LoadCaseRecords.h"

namespace telio_test {

void PutJobData(ByteWriter& w, const JobDataFields& j) {
  w.u32(3).text(j.file, 260).text(j.project, 260);
  w.u16(j.year).u16(j.month).u16(0).u16(j.day).zeros(8);  // SYSTEMTIME
  w.text(j.engineer, 260).text(j.comments, 260).i32(j.regulation).u32(j.type);
}

void PutLinkData(ByteWriter& w, const LinkDataFields& l) {
  w.u32(2).i32(l.link).text(l.path, 260).u32(l.kind).text(l.jobName, 260).text(l.related, 260);
}

void PutProjectHead(ByteWriter& w, uint32_t version, const JobDataFields& job, const LinkDataFields& link,
                    const std::vector<std::string>& loadCases, int32_t members) {
  w.u32(version);
  PutJobData(w, job);
  PutLinkData(w, link);
  w.u32(1).i32(0);  // section list
  std::vector<ElementFields> cases;
  for (size_t i = 0; i < loadCases.size(); ++i) cases.push_back({static_cast<uint32_t>(i + 1), loadCases[i], 0, 0});
  PutLoadCaseLst(w, cases);
  w.i32(members);
}

void PutEmptyGroupLst(ByteWriter& w) { w.u32(1).i32(0); }

}  // namespace telio_test
