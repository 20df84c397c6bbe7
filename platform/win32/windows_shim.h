#pragma once

// The one place that includes the Windows headers, so that every Windows
// source sees the same version macros and lean settings.
#ifdef _WINDOWS_
#error "the Windows headers came in before this one, without its settings"
#endif
// Windows 7 is the oldest system the programs run on, so its API is all they
// may call. The C++ library's headers set a newer default of their own.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#undef WINVER
#define WINVER 0x0601
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// std::min and std::max, not the macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
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
