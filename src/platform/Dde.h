#pragma once
// The process's DDE manager: one DDEML instance from start-up to exit.

#include <windows.h>

#include "Exception.h"

QUILLANE_EXCEPTION_KIND(EDdeError);

class TDdeMgr {
public:
    // Raises EDdeError with the text for DDEML's error code when no instance can be made.
    TDdeMgr();
    ~TDdeMgr();
    TDdeMgr(const TDdeMgr&) = delete;
    TDdeMgr& operator=(const TDdeMgr&) = delete;

    DWORD Instance() const noexcept { return instance_; }

private:
    DWORD instance_ = 0;
};
