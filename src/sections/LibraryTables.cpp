#include "sections/LibraryTables.h"

#include <mutex>

#include "files/CAJF_PATHS.h"
#include "platform/CPathObj.h"
#include "sections/BoltTables.h"
#include "sections/SteelGrades.h"

namespace telio {

namespace {

std::once_flag g_startOnce;
thread_local bool t_startingUp = false;

void StartUp() {
  CString settings = GetPathIni(CString(), CString("TELMARO.INI"));
  if (!settings.IsEmpty()) InitializeSteelGradesTable(settings);
  CString data = GetTelmaroBinDataDir();
  if (data.IsEmpty()) return;
  ReadSteelGradesTable(data);
  ReadBoltSizesTable(CPathObj::AddBackSlash(data));
}

struct ShutDown {
  ~ShutDown() { UnloadLibraryTables(); }
};

}  // namespace

void EnsureLibraryTablesLoaded() {
  // The start-up reads the tables through the exported calls, which come
  // here first: inside it there is nothing to wait for.
  if (t_startingUp) return;
  std::call_once(g_startOnce, [] {
    static ShutDown atExit;  // frees the tables when the process ends
    t_startingUp = true;
    StartUp();
    t_startingUp = false;
  });
}

void UnloadLibraryTables() {
  DeAllocateSteelGradesTable();
  DeAllocateBoltTablesMem();
}

#if defined(TELIO_SHARED) && defined(__GNUC__)
// A shared library starts its tables when it is loaded, as hosts expect.
__attribute__((constructor)) static void OnLibraryLoad() { EnsureLibraryTablesLoaded(); }
#endif

}  // namespace telio
