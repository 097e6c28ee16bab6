// Writers of the records around the members of a design project (MDP), byte
// by byte from their layouts, for tests and seed corpora: the job data, the
// link data and the members array's own framing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/ByteWriter.h"
#include "support/ObjectRecords.h"

namespace telio_test {

// Job data record, version 3: version word; file name, project name (260
// each); the date (16: year, month, day of week, day, hour, minute,
// second, millisecond); engineer, comments (260 each); regulation (4);
// type (4).
struct JobDataFields {
  std::string file, project, engineer, comments;
  uint16_t year = 0, month = 0, day = 0;
  int32_t regulation = 1;
  uint32_t type = 0;
};
void PutJobData(ByteWriter& w, const JobDataFields& j);

// Link data record, version 2: version word; link (4); link path (260);
// kind (4); job name (260); related path (260).
struct LinkDataFields {
  int32_t link = 0;
  std::string path, jobName, related;
  uint32_t kind = 0;
};
void PutLinkData(ByteWriter& w, const LinkDataFields& l);

// The members array record up to its member count: version word, job
// data, link data, an empty section list (version 1, count 0), the
// load-case list of the given names, then the member count. The member
// records follow; version 2 and 3 then take the two topology stamps, and
// version 3 the group list (PutEmptyGroupLst).
void PutProjectHead(ByteWriter& w, uint32_t version, const JobDataFields& job, const LinkDataFields& link,
                    const std::vector<std::string>& loadCases, int32_t members);
// Group list record, version 1, of no group.
void PutEmptyGroupLst(ByteWriter& w);

}  // namespace telio_test
