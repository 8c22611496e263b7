// The record from which AddPages has the "TV Out" page made.
#pragma once

#include "platform/win32.h"

// Windows 95's COMCTL32 accepts only the first form of the record, 40
// bytes; the SDK's sizeof is larger.
const DWORD pageRecordSize = 40;
const DWORD pageRecordFlags = PSP_USEICONID | PSP_USETITLE | PSP_HASHELP | PSP_USEREFPARENT;
extern const char pageTitle[];

// Fills every member; those the first form lacks stay zero.
void fillPageRecord(PROPSHEETPAGEA* record);
