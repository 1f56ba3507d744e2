#include "Dde.h"

#include <ddeml.h>

#include "text/DdeText.h"

namespace {

// The link opens, uses and closes its conversations within one call and awaits no
// notification.
HDDEDATA CALLBACK IgnoreNotifications(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

}  // namespace

TDdeMgr::TDdeMgr()
{
    // The code comes from DdeInitializeA itself: DdeGetLastError needs the instance that
    // failed to come into being.
    const UINT code = DdeInitializeA(&instance_, IgnoreNotifications, 0, 0);
    if (code != DMLERR_NO_ERROR) {
        instance_ = 0;
        throw EDdeError(DdeErrorText(code));
    }
}

TDdeMgr::~TDdeMgr()
{
    DdeUninitialize(instance_);
}
