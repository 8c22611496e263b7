// Resource identifiers of DrvRestore, shared by its resource script and
// its code.
#pragma once

#define IDD_RESTORE_INFO 102
#define IDC_UNADDRESSED (-1)
