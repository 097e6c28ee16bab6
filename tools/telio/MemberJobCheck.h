// `telio check JOB.MDD|JOB.MDL`: reads a member-design job and cross-checks
// its files, in the report form of the analysis job check (JobCheck.h).
//
// What must agree:
//   - the job (MDD or MDL) reads; a linked one's analysis job can be used
//     (a JOB recording a run, CMI and NAM files that read), an unlinked one
//     has its MLC file;
//   - every member position names a beam of the job's topology (the
//     analysis job's TOP when linked, else the TOP beside the job), and the
//     beams of a member follow one another (each shares a node with the
//     next);
//   - the MLC file: a linked job's names are the analysis job's static
//     load-case names and its RES file reads; an unlinked job's member count
//     is the job's, every member has a block for every load case, the last
//     position of its first load case lies at the member's length (within
//     0.001), and its areas do not overlap (at most 128 names, 200 members,
//     20 load cases);
//   - the restraints (CNS) and buckling points (LTB): the file holds every
//     member's tables, each names at most 20 nodes, all of the topology, and
//     each buckling node has its record;
//   - the DB0 file holds whole records with indexes from 1;
//   - an MDL job's TGD file holds one purlin record per member.
// Finding codes beyond those of JobCheck.h: bad_link, value_mismatch,
// overlapping_areas.
#pragma once

#include <string>

#include "JobCheck.h"

namespace telio_tool {

// True for a path whose extension is MDD or MDL (any letter case).
bool IsMemberJobPath(const std::string& path);

JobCheckReport CheckMemberJob(const std::string& path);

}  // namespace telio_tool
