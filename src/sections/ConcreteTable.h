// The process-wide concrete class table, read on request from the text
// file "CONCR.LIB": the class count, then fck, E and ts per class. Classes
// are numbered from 0 here. Not thread-safe.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

// Reads folder + "\\CONCR.LIB" (the name carries its own separator).
// 0 when the file cannot be opened; otherwise 1, holding the classes read
// in full (a damaged file keeps the classes before the damage).
TELIO_EXPORT int ReadConcreteTable(const char* folder);
TELIO_EXPORT int GetConcreteCount();
// The class's values; 0.0 outside 0 to count-1. Concrete_f is fck / 1.5.
TELIO_EXPORT float Concrete_fck(int i);
TELIO_EXPORT float Concrete_E(int i);
TELIO_EXPORT float Concrete_ts(int i);
TELIO_EXPORT float Concrete_f(int i);
// "C<fck>" for the first ten classes, "User<n>" after them; empty outside.
TELIO_EXPORT CString Concrete_Name(int i);
TELIO_EXPORT void DeallocateConcreteTable();
