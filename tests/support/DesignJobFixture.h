// An analysis job for the design project tests, written byte by byte from
// the layout tables (TOPFixture, RESFixture, CaseFilesFixture and the OUC
// layout): the project folder NAME.AJF with NAME.TOP, .JOB (static run),
// .NAM, .CMI (no combinations), .RES and .OUC.
//
// OUC blocks hold positions along the beam: intermediate point i of n lies
// at L * i / (n - 1), L the beam's length; force kind k (1 to 6) there is
// DesignIPValue(lc, beam, k, i). RES end forces are ResForce (RESFixture).
#pragma once

#include <string>
#include <vector>

#include "support/ByteWriter.h"
#include "support/TOPFixture.h"

namespace telio_test {

struct DesignJobLayout {
  TopModelLayout top;                      // space model, its static case count set on writing
  std::vector<std::string> caseNames;    // one static load case each
  std::vector<int> ipCounts;             // per beam (0-based): IPs of its OUC blocks
  std::vector<std::vector<int>> omitted; // per load case: beams (1-based) without an OUC block
};

float DesignIPValue(int lc, int beam, int kind, int ip);

// One OUC beam block: beam number, IP count, then the seven tables in file
// order (kinds 0, 1, 2, 6, 3, 4, 5).
ByteWriter DesignOucBlock(int lc, int beam, double length, int n);

// The job of the design tests (space model):
//   nodes 1 (0,0,0), 2 (3,0,0), 3 (6,0,0), 4 (9,0,0), 5 (12,0,0),
//         6 (12,0,4), 7 (0,0,4), 8 (0,0,8)
//   beams 1: 1-2, 2: 2-3, 3: 3-4, 4: 5-4 (against x), 5: 5-6 (up z),
//         6: 6-7 (against x), 7: 1-7, 8: 7-8 (section 2, same family,
//         another catalogue key)
//   sections 1 IPE200 (family 12, catalogue key 12007) and 2 IPE300
//   (12011), physical beams 1 (beams 1, 2) and 2 (beams 3, 4)
//   load cases "Dead", "Live"; IP counts 3, 2, 5, 2, 3, 2, 2, 2; load case
//   1 has no OUC block of beam 3.
DesignJobLayout DesignTestJob();

// Writes the job as parent/name.AJF and returns that folder.
std::string WriteDesignJob(const DesignJobLayout& job, const std::string& parent, const std::string& name);

}  // namespace telio_test
