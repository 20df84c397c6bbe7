#pragma once

// The one place that includes the Windows headers, so that every Windows
// source sees the same version macros and lean settings.
// The socket header goes first: it includes <windows.h> itself, and it keeps
// the older socket header, whose declarations clash with it, out for good.
#include <winsock2.h>
#include <windows.h>
// Keep the order: the headers below need <windows.h> first.
#include <commctrl.h>
#include <commdlg.h>
#include <ipexport.h>
#include <icmpapi.h>
#include <mmsystem.h>
#include <shellapi.h>
