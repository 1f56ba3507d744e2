#pragma once
// Conditions taken for granted. A failure raises an error naming the source file and line.

#include "Exception.h"
#include "text/Format.h"

QUILLANE_EXCEPTION_KIND(EAssertionFailed);

#define QUILLANE_ASSERT(condition)                                                       \
    do {                                                                                \
        if (!(condition))                                                               \
            throw EAssertionFailed(                                                     \
                Format("%s (%s, line %d)", "Assertion failure", __FILE__, __LINE__));   \
    } while (false)
