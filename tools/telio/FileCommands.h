// `telio info FILE` and `telio dump FILE`: any file kind that registers
// itself (FileKind.h), or a project folder NAME.AJF (ProjectFolder.h).
#pragma once

namespace telio_tool {

// A dump that goes through more of its file than this is announced on
// stderr, when stderr is a terminal, before it starts (10 MB).
long long LargeDumpBytes();
// Tests: another threshold; 0 or less restores the default.
void SetLargeDumpBytes(long long bytes);

}  // namespace telio_tool
