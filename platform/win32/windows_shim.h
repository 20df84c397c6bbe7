#pragma once

// The one place that includes the Windows headers, so that every Windows
// source sees the same version macros and lean settings.
#include <windows.h>
// Keep the order: the headers below need <windows.h> first.
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
