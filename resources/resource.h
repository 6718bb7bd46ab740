#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_LORVANE 101
#define IDB_ABOUT_BACKGROUND 102
