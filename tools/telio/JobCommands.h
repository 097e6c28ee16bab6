// `telio sample` and `telio check`: write a sample analysis job, and check
// the files of a job against one another.
#pragma once

#include <string>

#include "FileKind.h"
#include "JobCheck.h"
#include "SampleJob.h"

namespace telio_tool {

// Writes NAME.AJF into dir. Exit status 0, 1 when a file
// cannot be written or the catalogue cannot be read, 2 for a bad size.
int RunSample(const std::string& dir, const std::string& name, const SampleJobSize& size,
              const ToolOptions& opt);

// Exit status 0 when every file agrees, 1 with findings or a bad file.
int RunCheck(const std::string& path, const ToolOptions& opt);

// The report as JSON (kind "check").
Json CheckReportJson(const JobCheckReport& report);

// The folder holding FilesSectionDB: the suite folder when it has one,
// else the sample data of the source tree.
std::string SampleCatalogueFolder(const ToolOptions& opt);

}  // namespace telio_tool
