// Builds against an installed telio through find_package: the public
// headers are complete and the exported target links.
#include <cstdio>

#include "telio.h"

int main() {
  CFileT3L model;
  unsigned long code = model.Import("no-such-model.T3L");
  GE_::Safe::PtrStrong<CString> text(new CString("installed"));
  std::printf("%s: import of a missing file gives %lu (%s)\n", text->GetString(), code,
              telio::SystemErrorMessage(code));
  return code == telio::kErrorFileNotFound ? 0 : 1;
}
