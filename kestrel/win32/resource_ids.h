#pragma once

// Resource ids of Kestrel.exe, shared by its resource script and its views.

// The program's icon, for the program file and its windows.
#define IDI_KESTREL 1
